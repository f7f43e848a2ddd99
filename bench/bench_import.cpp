// Importing a full table (32,767 lines) of each kind with the shipped place tables, beside a
// floor from the same run: reading the same file and decoding it once into kept text. Then the
// same import through the window, until the main window's view has painted the rows, and a
// full table emptied and taken back.
#include "core/import/importfile.h"
#include "core/output/batch.h"
#include "core/subjects/delimited.h"
#include "core/text/textfile.h"
#include "core/text/windows1252.h"
#include "gui/importdialog.h"
#include "gui/mainwindow.h"
#include "gui/widgets/folderchooser.h"
#include "support/fixture.h"
#include "support/places.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

QString shippedTable(const char* name) {
    return QDir(QStringLiteral(VELMORA_SOURCE_DIR))
        .filePath(QStringLiteral("data/ref/") + QLatin1String(name));
}

QStringList codesOf(const char* table) {
    QStringList codes;
    const TextRead lines = readTextFile(shippedTable(table));
    if (!lines)
        return codes;
    for (const QString& line : *lines)
        codes.append(line.section(u',', 1, 1));
    return codes;
}

// A full table: three in four born in Italy, all over the municipality table; the others
// abroad, all over the state table.
QList<SubjectValues> fullTable() {
    const QStringList municipalities = codesOf("FileCodComuni.txt");
    const QStringList states = codesOf("FileCodStati.txt");
    QList<SubjectValues> subjects;
    subjects.reserve(SubjectTable::kMaxRows);
    for (int i = 0; i < SubjectTable::kMaxRows; ++i) {
        SubjectValues v;
        v[SurnameColumn] = QStringLiteral("COGNOME%1").arg(i);
        v[NameColumn] = QStringLiteral("NOME");
        v[SexColumn] = i % 2 ? QStringLiteral("M") : QStringLiteral("F");
        v[BirthDateColumn] =
            QStringLiteral("%1/03/19%2").arg(1 + i % 28, 2, 10, QChar(u'0')).arg(10 + i % 90);
        v[FatherColumn] = QStringLiteral("PADRE");
        if (i % 4) {
            v[TaxCodeColumn] = QStringLiteral("RSSMRA70A05H501F");
            v[MunicipalityCodeColumn] = municipalities[i % municipalities.size()];
            v[StateCodeColumn] = QStringLiteral("Z000");
        } else {
            v[CuiColumn] = QStringLiteral("1234567");
            v[ForeignPlaceColumn] = QStringLiteral("CITTA");
            v[StateCodeColumn] = states[i % states.size()];
        }
        subjects.append(v);
    }
    return subjects;
}

QByteArray fileBytes(ImportKind kind) {
    SubjectTable table;
    table.appendRows(test::rowsOf(fullTable()));
    return kind == ImportKind::FixedWidth ? *subjectListBytes(table)
                                          : *delimitedSubjectBytes(table);
}

// The file of each kind, written once into a scratch folder that also holds ref/.
class Files {
public:
    Files() {
        QDir(folder_.path()).mkpath(QStringLiteral("ref"));
        for (const char* table : {"FileCodComuni.txt", "FileCodStati.txt"})
            QFile::copy(shippedTable(table), folder_.filePath(QStringLiteral("ref/") + table));
        for (const ImportKind kind : {ImportKind::FixedWidth, ImportKind::Delimited}) {
            QFile file(path(kind));
            if (file.open(QIODevice::WriteOnly))
                file.write(fileBytes(kind));
        }
    }
    QString path(ImportKind kind) const {
        return folder_.filePath(kind == ImportKind::FixedWidth ? QStringLiteral("lista.txt")
                                                               : QStringLiteral("lista.csv"));
    }
    QString folder() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
};

// The floor: the file read and decoded once into text that is kept, as any import must at
// least read every byte and make every character.
void FloorReadAndDecode(benchmark::State& state) {
    const auto kind = ImportKind(state.range(0));
    const Files files;
    for (auto _ : state) {
        QFile file(files.path(kind));
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("the file cannot be read");
        const QString text = decodeWindows1252(file.readAll());
        benchmark::DoNotOptimize(text.constData());
    }
}
BENCHMARK(FloorReadAndDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void ImportIntoTheTable(benchmark::State& state) {
    const auto kind = ImportKind(state.range(0));
    const Files files;
    ReferenceTable municipalities(files.folder() + QStringLiteral("/ref/FileCodComuni.txt"));
    ReferenceTable states(files.folder() + QStringLiteral("/ref/FileCodStati.txt"));
    SubjectTable table;
    for (auto _ : state) {
        // Emptying the table is the clear-table command's work, not the import's.
        state.PauseTiming();
        table.layOut();
        state.ResumeTiming();
        ImportResult result = importSubjectFile(files.path(kind), kind, 0, municipalities, states);
        if (!result.ok() || result->size() != SubjectTable::kMaxRows)
            state.SkipWithError("the file was refused");
        table.appendRows(std::move(*result));
        benchmark::DoNotOptimize(table.subjectCount());
    }
}
BENCHMARK(ImportIntoTheTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Notes when the widget it watches is first painted after `arm()`.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& widget) { widget.installEventFilter(this); }
    void arm() {
        painted_ = false;
        clock_.start();
    }
    // Seconds from arm() to the paint; 0 before it.
    double seconds() const { return painted_ ? double(elapsed_) / 1e9 : 0; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            elapsed_ = clock_.nsecsElapsed();
            painted_ = true;
        }
        return false;
    }

private:
    QElapsedTimer clock_;
    qint64 elapsed_ = 0;
    bool painted_ = false;
};

// OK in the import window, until the main window's view has painted the rows: what the operator
// waits for.
void ImportThroughTheWindow(benchmark::State& state) {
    const auto kind = ImportKind(state.range(0));
    const Files files;
    velmora::test::ProgramFixture fixture;
    QDir(fixture.folder.path()).mkpath(QStringLiteral("ref"));
    for (const char* table : {"FileCodComuni.txt", "FileCodStati.txt"})
        QFile::copy(files.folder() + QStringLiteral("/ref/") + table,
                    fixture.folder.path(QStringLiteral("ref/") + table));
    MainWindow& main = fixture.main;
    main.show();
    const auto child = [](const QObject& parent, const char* name) {
        return parent.findChild<QWidget*>(QLatin1String(name));
    };
    const QString path = files.path(kind);
    PaintWatch grid(*main.findChild<QTableView*>(QStringLiteral("subjectGrid"))->viewport());
    for (auto _ : state) {
        state.PauseTiming();
        fixture.program.table.layOut();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        static_cast<QPushButton*>(child(main, "importButton"))->click();
        auto* window = main.findChild<ImportDialog*>();
        static_cast<QComboBox*>(child(*window, "fileTypeCombo"))->setCurrentIndex(int(kind));
        auto* folders = static_cast<FolderChooser*>(child(*window, "folderChooser"));
        folders->setFolder(files.folder());
        auto* list = static_cast<QListView*>(child(*folders, "fileList"));
        auto* model = static_cast<QFileSystemModel*>(list->model());
        QElapsedTimer waited;
        waited.start();
        while (!model->index(path).isValid() && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        list->setCurrentIndex(model->index(path));
        auto* ok = static_cast<QPushButton*>(child(*window, "okButton"));
        // The file lists' background reading settles first: it is the window's opening, not
        // the import.
        waited.restart();
        while (waited.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        state.ResumeTiming();

        grid.arm();
        ok->click();
        QCoreApplication::processEvents();
        if (fixture.program.table.subjectCount() != SubjectTable::kMaxRows || !grid.seconds())
            state.SkipWithError("the window imported nothing");
        state.SetIterationTime(grid.seconds());
    }
}
BENCHMARK(ImportThroughTheWindow)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Cancella Tabella and then Annulla on a full table, each until the main window's view has taken
// the change: the operator waits for both.
void EmptyAndUndoThroughTheWindow(benchmark::State& state) {
    velmora::test::ProgramFixture fixture;
    MainWindow& main = fixture.main;
    main.show();
    fixture.program.edits.append(test::rowsOf(fullTable()), QStringLiteral("importazione"));
    auto* undo = main.findChild<QAction*>(QStringLiteral("undoAction"));
    for (auto _ : state) {
        fixture.program.edits.empty();
        QCoreApplication::processEvents();
        undo->trigger();
        QCoreApplication::processEvents();
        if (fixture.program.table.subjectCount() != SubjectTable::kMaxRows)
            state.SkipWithError("the table did not come back");
    }
}
BENCHMARK(EmptyAndUndoThroughTheWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
