#pragma once

#include "core/text/textfile.h"
#include "gui/mainwindow.h"
#include "gui/program.h"
#include "support/fixedclock.h"
#include "support/recorders.h"

namespace velmora::test {

// A config.ini with the office data and certificate type 2 chosen in the list.
inline const QByteArray kCompleteConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n 2\r\n\r\n\r\n\r\n";

// A program in a scratch working folder, with recorded messages and a clock at a fixed time,
// and its main window, not started yet.
struct ProgramFixture {
    explicit ProgramFixture(const QByteArray& configBytes = {}) {
        if (!configBytes.isNull())
            writeFile(QStringLiteral("config.ini"), configBytes);
    }

    void writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(folder.path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QByteArray readFile(const QString& name) const {
        QFile file(folder.path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ScratchFolder folder;
    RecordingMessages messages;
    RecordingShell shell;
    FixedClock clock{QDateTime(QDate(2010, 3, 15), QTime(9, 32))};
    Program program{messages, shell, clock};
    MainWindow main{program};
};

// A program started on `config`, its main window shown.
struct Started : ProgramFixture {
    explicit Started(const QByteArray& config = kCompleteConfig) : ProgramFixture(config) {
        main.start();
    }
};

} // namespace velmora::test
