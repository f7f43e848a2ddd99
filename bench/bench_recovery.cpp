// The recovery file of the largest table: what the keeper's timer writes after a change to a
// table of 32,767 subjects, beside a floor from the same run: the same text already made,
// only encoded to Windows-1252 and written all or nothing as every file is.
#include "core/files/filewriter.h"
#include "core/subjects/recoveryfile.h"
#include "core/text/textfile.h"
#include "core/text/windows1252.h"
#include "support/places.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

// The shared Roman subject with an apostrophe and an accent, so that encoding has work to do.
SubjectValues sample() {
    SubjectValues v = test::romanSubject();
    v[SurnameColumn] = QStringLiteral("D'ANNUNZIO");
    v[NameColumn] = QStringLiteral("NICOL\u00D2 GIUSEPPE");
    return v;
}

const Request kRequest{2, QStringLiteral("LAVORO"), QStringLiteral("123"),
                       QStringLiteral("15/03/2010"), false};
const QDateTime kSaved(QDate(2010, 3, 15), QTime(9, 32));

struct FullTable {
    FullTable() {
        table.appendRows(test::rowsOf(QList<SubjectValues>(SubjectTable::kMaxRows, sample())));
    }
    SubjectTable table;
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("richiesta-in-corso.txt"));
};

void FloorEncodeAndWrite(benchmark::State& state) {
    FullTable full;
    const QString text = decodeWindows1252(*recoveryBytes(kRequest, full.table, kSaved));
    for (auto _ : state) {
        const auto bytes = encodeWindows1252(text);
        if (!bytes || !writeFile(full.path, *bytes).ok())
            state.SkipWithError("cannot write");
    }
}
BENCHMARK(FloorEncodeAndWrite)->Unit(benchmark::kMillisecond);

void RecoveryWrite(benchmark::State& state) {
    FullTable full;
    for (auto _ : state) {
        const Result<QByteArray> bytes = recoveryBytes(kRequest, full.table, kSaved);
        if (!bytes || !writeFile(full.path, *bytes).ok())
            state.SkipWithError("cannot write");
    }
}
BENCHMARK(RecoveryWrite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
