// Reference tables: loading both shipped tables, and 100,000 name lookups. Each is measured
// beside a floor from the same run: reading and splitting the files alone for the loading,
// a plain hash of the same names for the lookups. RefreshUnchanged is what each use of a
// table pays to learn that its file has not changed.
#include "core/subjects/referencetable.h"
#include "core/text/textfile.h"

#include <QDir>
#include <QHash>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

constexpr int kLookups = 100'000;

QString shippedTable(const char* name) {
    return QDir(QStringLiteral(VELMORA_SOURCE_DIR))
        .filePath(QStringLiteral("data/ref/") + QLatin1String(name));
}

void FloorReadBothFiles(benchmark::State& state) {
    const QString municipalities = shippedTable("FileCodComuni.txt");
    const QString states = shippedTable("FileCodStati.txt");
    for (auto _ : state) {
        const TextRead first = readTextFile(municipalities);
        const TextRead second = readTextFile(states);
        if (!first || !second)
            state.SkipWithError("cannot read the tables");
        else
            benchmark::DoNotOptimize(first->size() + second->size());
    }
}
BENCHMARK(FloorReadBothFiles)->Unit(benchmark::kMillisecond);

void LoadBothTables(benchmark::State& state) {
    const QString municipalities = shippedTable("FileCodComuni.txt");
    const QString states = shippedTable("FileCodStati.txt");
    for (auto _ : state) {
        ReferenceTable first(municipalities);
        ReferenceTable second(states);
        if (!first.refresh() || !second.refresh())
            state.SkipWithError("a shipped table cannot be read");
        benchmark::DoNotOptimize(first.names().size() + second.names().size());
    }
}
BENCHMARK(LoadBothTables)->Unit(benchmark::kMillisecond);

// The names asked for: every municipality in turn, and one name in eight absent.
QStringList lookupNames(const ReferenceTable& table) {
    QStringList names;
    names.reserve(kLookups);
    const QStringList& all = table.names();
    for (int i = 0; i < kLookups; ++i)
        names.append(i % 8 == 7 ? all[i % all.size()] + u' ' : all[i % all.size()]);
    return names;
}

ReferenceTable loadedMunicipalities(benchmark::State& state) {
    ReferenceTable table(shippedTable("FileCodComuni.txt"));
    if (!table.refresh())
        state.SkipWithError("the municipality table cannot be read");
    return table;
}

void FloorHashLookups(benchmark::State& state) {
    const ReferenceTable table = loadedMunicipalities(state);
    QHash<QString, QString> hash;
    for (const QString& name : table.names())
        hash.insert(name, name);
    const QStringList names = lookupNames(table);
    for (auto _ : state) {
        qsizetype found = 0;
        for (const QString& name : names)
            found += hash.contains(name);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(FloorHashLookups)->Unit(benchmark::kMillisecond);

void Lookups(benchmark::State& state) {
    const ReferenceTable table = loadedMunicipalities(state);
    const QStringList names = lookupNames(table);
    for (auto _ : state) {
        qsizetype found = 0;
        for (const QString& name : names)
            found += table.lookupName(name).has_value();
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(Lookups)->Unit(benchmark::kMillisecond);

void RefreshUnchanged(benchmark::State& state) {
    ReferenceTable table = loadedMunicipalities(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(table.refresh());
}
BENCHMARK(RefreshUnchanged)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
