#pragma once

#include "gui/messages.h"
#include "gui/shell.h"

#include <QDir>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

namespace velmora::test {

// Remembers every message and answers questions from a script (No when the script is empty).
class RecordingMessages final : public Messages {
public:
    struct Shown {
        QString text;
        Icon icon;
        QString title;
    };

    void show(const QString& text, Icon icon, const QString& title = kAppTitle) override {
        shown.append({text, icon, title});
    }
    bool ask(const QString& text, Icon icon, bool defaultNo) override {
        asked.append({text, icon, kAppTitle});
        askedDefaultNo.append(defaultNo);
        return answers.isEmpty() ? false : answers.takeFirst();
    }

    QStringList texts() const {
        QStringList all;
        for (const Shown& s : shown)
            all.append(s.text);
        return all;
    }

    QList<Shown> shown;
    QList<Shown> asked;
    QList<bool> askedDefaultNo;
    QList<bool> answers;
};

class RecordingShell final : public Shell {
public:
    bool open(const QString& path) override {
        opened.append(path);
        return result;
    }
    QStringList opened;
    bool result = true;
};

// Runs a test inside a fresh, empty working folder and goes back afterwards.
class ScratchFolder {
public:
    ScratchFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~ScratchFolder() { QDir::setCurrent(previous_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    QString path(const QString& piece = {}) const { return dir_.filePath(piece); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

} // namespace velmora::test
