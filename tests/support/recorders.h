#pragma once

#include "gui/messages.h"
#include "gui/shell.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#ifdef Q_OS_WIN
#include <QDateTime>
#include <windows.h>
#else
#include <sys/time.h>
#endif

namespace velmora::test {

// Remembers every message and answers questions from a script (No when the script is empty).
class RecordingMessages final : public Messages {
public:
    struct Shown {
        QString text;
        Icon icon;
        QString title;
        QString detail;
    };

    void show(const QString& text, Icon icon, const QString& title = kAppTitle,
              const QString& detail = {}) override {
        shown.append({text, icon, title, detail});
    }
    bool ask(const QString& text, Icon icon, bool defaultNo, const QString& detail = {}) override {
        asked.append({text, icon, kAppTitle, detail});
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

// Runs a test inside a fresh, empty working folder and goes back afterwards. The test also
// gets a home of its own (HOME and the XDG folders below it, and no desktop folder), so that
// nothing depends on the machine's desktop.
class ScratchFolder {
public:
    ScratchFolder() : previous_(QDir::currentPath()) {
        QDir::setCurrent(dir_.path());
        for (const char* name : kHomeVariables) {
            saved_.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
            const QString folder = QString::fromLatin1(name) == u"HOME"
                                       ? home_.path()
                                       : home_.filePath(QString::fromLatin1(name).toLower());
            qputenv(name, QFile::encodeName(folder));
        }
    }
    ~ScratchFolder() {
        QDir::setCurrent(previous_);
        for (const Saved& variable : saved_) {
            if (variable.wasSet)
                qputenv(variable.name, variable.value);
            else
                qunsetenv(variable.name);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    QString path(const QString& piece = {}) const { return dir_.filePath(piece); }
    QString home(const QString& piece = {}) const { return home_.filePath(piece); }

private:
    static constexpr const char* kHomeVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                                     "XDG_CACHE_HOME", "XDG_STATE_HOME"};
    struct Saved {
        const char* name;
        bool wasSet;
        QByteArray value;
    };
    QTemporaryDir dir_;
    QTemporaryDir home_;
    QString previous_;
    QList<Saved> saved_;
};

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// Dates the file or folder's last change `secondsAgo` back.
inline bool setModified(const QString& path, qint64 secondsAgo) {
#ifdef Q_OS_WIN
    const HANDLE handle =
        CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()),
                    FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr); // a folder too
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    // Ticks of 100 ns since 1601.
    const qint64 ticks =
        (QDateTime::currentSecsSinceEpoch() - secondsAgo + 11644473600LL) * 10000000LL;
    const FILETIME time{DWORD(ticks), DWORD(ticks >> 32)};
    const bool set = SetFileTime(handle, nullptr, &time, &time);
    CloseHandle(handle);
    return set;
#else
    const time_t when = ::time(nullptr) - secondsAgo;
    const timeval times[2] = {{when, 0}, {when, 0}};
    return ::utimes(QFile::encodeName(path).constData(), times) == 0;
#endif
}

// What the file holds; empty when it cannot be read.
inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace velmora::test
