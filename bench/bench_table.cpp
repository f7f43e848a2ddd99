// The subject table at its largest, each figure beside a floor from the same run. Deleting a
// row against moving the bytes of the rows below it, which any deletion must move; adding rows
// one at a time (as the entry window does) at growing sizes, whose time per row must stay flat.
#include "core/subjects/subjecttable.h"

#include <benchmark/benchmark.h>
#include <cstring>
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
    QList<SubjectRow> rows;
    rows.reserve(SubjectTable::kMaxRows);
    for (int i = 1; i <= SubjectTable::kMaxRows; ++i)
        rows.append(SubjectRow(subject(i)));
    table.appendRows(std::move(rows));
}

// Elimina Soggetto on a row of a full table (the argument); the row is put back at the end,
// untimed. Row 1 is the case the operator waits for most; the middle row moves half the table.
void DeleteRow(benchmark::State& state) {
    const int row = int(state.range(0));
    SubjectTable table;
    fullTable(table);
    const SubjectValues spare = subject(0);
    for (auto _ : state) {
        table.removeRow(row);
        state.PauseTiming();
        table.appendRow(spare);
        state.ResumeTiming();
    }
}
BENCHMARK(DeleteRow)->Arg(1)->Arg(SubjectTable::kMaxRows / 2)->Unit(benchmark::kMicrosecond);

// The floor: moving the bytes that hold the rows below the deleted one (their values and
// verdicts) one row up, which is what no deletion can skip.
void FloorMoveRowsBelow(benchmark::State& state) {
    const int row = int(state.range(0));
    constexpr size_t kRowBytes = sizeof(SubjectRow) + sizeof(RowFault);
    std::vector<char> bytes(size_t(SubjectTable::kMaxRows) * kRowBytes, 'x');
    const size_t moved = size_t(SubjectTable::kMaxRows - row) * kRowBytes;
    for (auto _ : state) {
        char* at = bytes.data() + size_t(row - 1) * kRowBytes;
        std::memmove(at, at + kRowBytes, moved);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FloorMoveRowsBelow)
    ->Arg(1)
    ->Arg(SubjectTable::kMaxRows / 2)
    ->Unit(benchmark::kMicrosecond);

// Adding rows one at a time into an empty table up to the argument, as the entry window adds
// each saved person; the counter is the time per row, which stays flat when adding is
// amortised constant.
void AddOneByOne(benchmark::State& state) {
    const int count = int(state.range(0));
    const SubjectValues person = subject(1);
    for (auto _ : state) {
        SubjectTable table;
        for (int i = 0; i < count; ++i)
            table.appendRow(person);
        benchmark::DoNotOptimize(table.subjectCount());
    }
    state.counters["per_row"] = benchmark::Counter(
        double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(AddOneByOne)
    ->Arg(1024)
    ->Arg(4096)
    ->Arg(16384)
    ->Arg(SubjectTable::kMaxRows)
    ->Unit(benchmark::kMillisecond);

// The floor of adding: the same rows made and appended to a plain vector.
void FloorAddToVector(benchmark::State& state) {
    const int count = int(state.range(0));
    const SubjectValues person = subject(1);
    for (auto _ : state) {
        std::vector<SubjectRow> rows;
        for (int i = 0; i < count; ++i)
            rows.push_back(SubjectRow(person));
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["per_row"] = benchmark::Counter(
        double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(FloorAddToVector)->Arg(SubjectTable::kMaxRows)->Unit(benchmark::kMillisecond);

// The 32,767th row added, one at a time, to a table of 32,766 grown the same way; the table is
// rebuilt untimed before each addition.
void AddLastRow(benchmark::State& state) {
    const SubjectValues person = subject(1);
    for (auto _ : state) {
        state.PauseTiming();
        SubjectTable table;
        for (int i = 1; i < SubjectTable::kMaxRows; ++i)
            table.appendRow(person);
        state.ResumeTiming();
        table.appendRow(person);
        benchmark::DoNotOptimize(table.subjectCount());
        state.PauseTiming();
        table.layOut();
        state.ResumeTiming();
    }
}
BENCHMARK(AddLastRow)->Iterations(20)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
