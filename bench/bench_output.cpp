// The batch of the largest table: the row check of 32,767 subjects, and their subject list
// written to disk. The list is measured beside two floors from the same run: the same bytes
// written with a plain buffered file write, and written all or nothing as every file is.
#include "core/output/batch.h"
#include "core/request/requestcheck.h"
#include "core/text/textfile.h"
#include "core/text/windows1252.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

SubjectValues sample() {
    SubjectValues v;
    v[SurnameColumn] = QStringLiteral("ROSSI");
    v[NameColumn] = QStringLiteral("MARIO GIUSEPPE");
    v[SexColumn] = QStringLiteral("M");
    v[TaxCodeColumn] = QStringLiteral("RSSMRA70A05H501F");
    v[FatherColumn] = QStringLiteral("ANTONIO");
    v[BirthDateColumn] = QStringLiteral("05/01/1970");
    v[MunicipalityColumn] = QStringLiteral("ROMA");
    v[StateColumn] = QStringLiteral("ITALIA");
    v[MunicipalityCodeColumn] = QStringLiteral("H501");
    v[StateCodeColumn] = QStringLiteral("Z000");
    return v;
}

void fill(SubjectTable& table) {
    table.appendRows(QList<SubjectValues>(SubjectTable::kMaxRows, sample()));
}

void BatchRowCheck(benchmark::State& state) {
    SubjectTable table;
    fill(table);
    for (auto _ : state)
        benchmark::DoNotOptimize(failingRows(table, QDateTime::currentDateTime()).size());
}
BENCHMARK(BatchRowCheck)->Unit(benchmark::kMillisecond);

void FloorPlainWrite(benchmark::State& state) {
    SubjectTable table;
    fill(table);
    const QByteArray bytes = *subjectListBytes(table);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plain.txt"));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            state.SkipWithError("cannot write");
    }
}
BENCHMARK(FloorPlainWrite)->Unit(benchmark::kMillisecond);

// Every file of the program is written all or nothing, flushed to the disk before it replaces
// the old one: the same bytes written that way.
void FloorSaveFile(benchmark::State& state) {
    SubjectTable table;
    fill(table);
    const QByteArray bytes = *subjectListBytes(table);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.txt"));
    for (auto _ : state) {
        if (!writeFile(path, bytes))
            state.SkipWithError("cannot write");
    }
}
BENCHMARK(FloorSaveFile)->Unit(benchmark::kMillisecond);

void WriteSubjectList(benchmark::State& state) {
    SubjectTable table;
    fill(table);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.txt"));
    for (auto _ : state) {
        if (!writeSubjectList(path, table))
            state.SkipWithError("cannot write");
    }
}
BENCHMARK(WriteSubjectList)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
