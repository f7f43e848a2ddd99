// A run of the program that its test kills as a crash would: it starts in the folder given,
// makes a few changes and says "kept" once the recovery file holds them, then waits.
#include "core/clock.h"
#include "core/paths.h"
#include "core/subjects/recoveryfile.h"
#include "gui/principale.h"
#include "gui/program.h"
#include "gui/recoverykeeper.h"
#include "gui/widgets/filteredit.h"
#include "support/places.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

using namespace velmora;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1])))
        return 2;
    test::RecordingMessages messages;
    test::RecordingShell shell;
    SystemClock clock;
    Program program(messages, shell, clock);
    Principale main(program);
    main.Form_Load();
    RecoveryKeeper keeper(program, main);
    main.Timer2.start(0);
    QTimer::singleShot(50, &main, [&] {
        program.table.appendRows({test::romanSubject(), test::parisianSubject()});
        main.Text1->setText(QStringLiteral("PROT1"));
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QFile file(workingPath(kRecoveryFile));
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains("SOGGETTI=2")) {
            poll.stop();
            std::puts("kept");
            std::fflush(stdout);
        }
    });
    poll.start(20);
    return QApplication::exec();
}
