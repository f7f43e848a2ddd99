// Opening the subject entry window over the full shipped reference tables, up to its first
// paint. FirstOpening reads both tables (as the first opening of a run does) and is measured
// beside FloorReadTables, reading them alone; Reopening finds the tables in memory and is
// measured beside FloorPlainWindow, a window of as many plain fields shown and closed.
// KeystrokeInList types one letter into the municipality list and takes it back, the list
// suggesting names as it goes, beside the same two keys in a plain field. SaveLastRow saves the
// 32,767th subject through the window (OK on a filled, checked person) into a table of 32,766.
#include "core/subjects/referencetable.h"
#include "gui/program.h"
#include "gui/subjectdialog.h"
#include "support/fixedclock.h"
#include "support/places.h"
#include "support/recorders.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

// The services of a run with nobody at the screen.
struct Services {
    test::RecordingMessages messages;
    test::RecordingShell shell;
    FixedClock clock{QDateTime(QDate(2010, 3, 15), QTime(9, 32))};
};

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Open, paint, close, delete, as the main window makes the entry window on each opening.
void openAndClose(benchmark::State& state, Program& program) {
    auto* window = new SubjectDialog(program);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (!window->open())
        state.SkipWithError("the entry window did not open");
    QCoreApplication::processEvents();
    window->close();
    settle();
}

void FloorReadTables(benchmark::State& state) {
    for (auto _ : state) {
        ReferenceTable municipalities(kMunicipalityTable.toString());
        ReferenceTable states(kStateTable.toString());
        if (!municipalities.refresh() || !states.refresh())
            state.SkipWithError("a shipped table cannot be read");
        benchmark::DoNotOptimize(municipalities.names().size() + states.names().size());
    }
}
BENCHMARK(FloorReadTables)->Unit(benchmark::kMillisecond);

void FirstOpening(benchmark::State& state) {
    for (auto _ : state) {
        Services services;
        Program program(services.messages, services.shell, services.clock);
        program.addingSubject = true;
        openAndClose(state, program);
    }
}
BENCHMARK(FirstOpening)->Unit(benchmark::kMillisecond);

void FloorPlainWindow(benchmark::State& state) {
    for (auto _ : state) {
        auto* window = new QWidget;
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto* grid = new QGridLayout(window);
        for (int row = 0; row < 14; ++row) {
            grid->addWidget(new QLineEdit(window), row, 0);
            grid->addWidget(new QLineEdit(window), row, 1);
        }
        window->show();
        QCoreApplication::processEvents();
        window->close();
        settle();
    }
}
BENCHMARK(FloorPlainWindow)->Unit(benchmark::kMillisecond);

void Reopening(benchmark::State& state) {
    Services services;
    Program program(services.messages, services.shell, services.clock);
    program.addingSubject = true;
    openAndClose(state, program); // the tables are read here, once
    for (auto _ : state)
        openAndClose(state, program);
}
BENCHMARK(Reopening)->Unit(benchmark::kMillisecond);

void typeAndTakeBack(QWidget* field, Qt::Key key, const QString& text) {
    for (const auto& [code, typed] :
         {std::pair{key, text}, std::pair{Qt::Key_Backspace, QString()}}) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(field, &release);
    }
    QCoreApplication::processEvents();
}

void FloorKeystrokeInPlainField(benchmark::State& state) {
    QLineEdit field;
    field.setText(QStringLiteral("SAN"));
    field.show();
    for (auto _ : state)
        typeAndTakeBack(&field, Qt::Key_T, QStringLiteral("t"));
}
BENCHMARK(FloorKeystrokeInPlainField)->Unit(benchmark::kMicrosecond);

void KeystrokeInList(benchmark::State& state) {
    Services services;
    Program program(services.messages, services.shell, services.clock);
    program.addingSubject = true;
    SubjectDialog window(program);
    if (!window.open())
        state.SkipWithError("the entry window did not open");
    auto* list = window.findChild<QComboBox*>(QStringLiteral("municipalityCombo"));
    list->setEditText(QStringLiteral("SAN"));
    for (auto _ : state)
        typeAndTakeBack(list, Qt::Key_T, QStringLiteral("t"));
    window.close();
    settle();
}
BENCHMARK(KeystrokeInList)->Unit(benchmark::kMicrosecond);

void SaveLastRow(benchmark::State& state) {
    Services services;
    Program program(services.messages, services.shell, services.clock);
    program.table.appendRows(
        test::rowsOf(QList<SubjectValues>(SubjectTable::kMaxRows - 1, test::romanSubject())));
    program.addingSubject = true;
    SubjectDialog window(program);
    auto* insert = window.findChild<QPushButton*>(QStringLiteral("insertButton"));
    for (auto _ : state) {
        state.PauseTiming();
        program.table.keepRows(SubjectTable::kMaxRows - 1);
        if (!window.open())
            state.SkipWithError("the entry window did not open");
        window.fillFromRow(test::romanSubject());
        state.ResumeTiming();
        insert->click();
        if (program.table.subjectCount() != SubjectTable::kMaxRows)
            state.SkipWithError("the subject was not saved");
    }
    settle();
}
BENCHMARK(SaveLastRow)->Unit(benchmark::kMicrosecond);

// A working folder holding the shipped tables in ref/.
bool prepareWorkingFolder(const QTemporaryDir& folder) {
    const QDir source(QStringLiteral(VELMORA_SOURCE_DIR "/data/ref"));
    QDir work(folder.path());
    if (!work.mkdir(QStringLiteral("ref")))
        return false;
    for (const QString& name :
         {QStringLiteral("FileCodComuni.txt"), QStringLiteral("FileCodStati.txt")}) {
        if (!QFile::copy(source.filePath(name), work.filePath(QStringLiteral("ref/") + name)))
            return false;
    }
    return QDir::setCurrent(folder.path());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid() || !prepareWorkingFolder(folder))
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
