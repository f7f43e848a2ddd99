// Deleting a row of the largest table, against a floor measured in the same run: copying the
// rows that the deletion moves.
#include "core/subjects/subjecttable.h"

#include <benchmark/benchmark.h>
#include <vector>

using namespace velmora;

namespace {

SubjectValues subject(int i) {
    SubjectValues values;
    values[SurnameColumn] = QStringLiteral("COGNOME%1").arg(i);
    values[NameColumn] = QStringLiteral("NOME");
    values[SexColumn] = QStringLiteral("M");
    values[TaxCodeColumn] = QStringLiteral("RSSMRA80A01H501U");
    values[BirthDateColumn] = QStringLiteral("01/01/1980");
    values[MunicipalityColumn] = QStringLiteral("ROMA");
    values[StateColumn] = QStringLiteral("ITALIA");
    values[MunicipalityCodeColumn] = QStringLiteral("H501");
    values[StateCodeColumn] = QStringLiteral("Z000");
    return values;
}

void fullTable(SubjectTable& table) {
    QList<SubjectValues> rows;
    rows.reserve(SubjectTable::kMaxRows);
    for (int i = 1; i <= SubjectTable::kMaxRows; ++i)
        rows.append(subject(i));
    table.appendRows(rows);
}

// Elimina Soggetto on a row of a full table (the argument); the row is put back at the end,
// untimed. Row 1 is the case the operator waits for most; the middle row moves half the table.
void BM_DeleteRow(benchmark::State& state) {
    const int row = int(state.range(0));
    SubjectTable table;
    fullTable(table);
    for (auto _ : state) {
        table.removeRow(row);
        state.PauseTiming();
        table.appendRow(subject(0));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteRow)->Arg(1)->Arg(SubjectTable::kMaxRows / 2)->Unit(benchmark::kMillisecond);

// The floor: copying the values of the rows below row 1, as any move of them must touch them.
void BM_FloorCopyRowsBelow(benchmark::State& state) {
    SubjectTable table;
    fullTable(table);
    std::vector<SubjectValues> copy(SubjectTable::kMaxRows);
    for (auto _ : state) {
        for (int row = 2; row <= table.progressivo(); ++row)
            copy[row - 2] = table.values(row);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FloorCopyRowsBelow)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
