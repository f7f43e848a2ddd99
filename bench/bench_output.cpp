// The batch of the largest table, each figure beside a floor from the same run: the row check of
// 32,767 subjects against the same rules over views of the same texts, with nothing allocated;
// building the subject list against narrowing and padding the same texts into a buffer sized
// once; writing it against the same bytes written to a temporary file, synced and renamed.
#include "core/dates.h"
#include "core/files/filewriter.h"
#include "core/output/batch.h"
#include "core/request/requestcheck.h"
#include "core/subjects/record.h"
#include "core/subjects/taxcode.h"
#include "support/places.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace velmora;

namespace {

SubjectValues sample() {
    return test::romanSubject();
}

// Every row its own text, as after an import or typing.
void fill(SubjectTable& table) {
    QList<SubjectRow> rows;
    for (int i = 0; i < SubjectTable::kMaxRows; ++i)
        rows.append(SubjectRow(sample()));
    table.appendRows(std::move(rows));
}

void BatchRowCheck(benchmark::State& state) {
    SubjectTable table;
    fill(table);
    for (auto _ : state)
        benchmark::DoNotOptimize(failingRowChecks(table, QDateTime::currentDateTime()).size());
}
BENCHMARK(BatchRowCheck)->Unit(benchmark::kMillisecond);

// The rules of the batch check, in their order, over views: what any check has to look at.
bool floorRowFails(const SubjectTable& table, int row) {
    const auto cell = [&](Column column) { return QStringView(table.text(row, column)); };
    const auto within = [](QStringView text, qsizetype most) {
        return !text.isEmpty() && text.size() <= most;
    };
    const QStringView sex = cell(SexColumn), place = cell(MunicipalityCodeColumn),
                      state = cell(StateCodeColumn), taxCode = cell(TaxCodeColumn),
                      cui = cell(CuiColumn), foreign = cell(ForeignPlaceColumn);
    const bool italy = state == record::kItalyCode;
    const bool italian = italy || !place.isEmpty();
    return !within(cell(SurnameColumn), record::kNameLimit) ||
           !within(cell(NameColumn), record::kNameLimit) || (sex != u"M" && sex != u"F") ||
           !parseDate(cell(BirthDateColumn)) || state.isEmpty() ||
           (italian && (taxCode.size() != record::kTaxCodeLength ||
                        checkTaxCode(taxCode, place) == TaxCodeCheck::Errato)) ||
           (within(cui, record::kCuiLength) && !place.isEmpty()) ||
           cui.size() > record::kCuiLength || cell(FatherColumn).size() > record::kNameLimit ||
           foreign.size() > record::kForeignPlaceLimit ||
           (!place.isEmpty() && (!italy || !foreign.isEmpty())) || (italy && place.isEmpty());
}

void FloorRowCheckOverViews(benchmark::State& state) {
    SubjectTable table;
    fill(table);
    for (auto _ : state) {
        int failing = 0;
        for (int row = 1; row <= table.subjectCount(); ++row)
            failing += floorRowFails(table, row);
        benchmark::DoNotOptimize(failing);
    }
}
BENCHMARK(FloorRowCheckOverViews)->Unit(benchmark::kMillisecond);

void BuildSubjectList(benchmark::State& state) {
    SubjectTable table;
    fill(table);
    for (auto _ : state)
        benchmark::DoNotOptimize(subjectListBytes(table)->size());
}
BENCHMARK(BuildSubjectList)->Unit(benchmark::kMillisecond);

// The floor of building: every field narrowed (the texts are Latin-1 here) and padded into a
// buffer sized once, the date turned round.
void FloorNarrowAndPad(benchmark::State& state) {
    SubjectTable table;
    fill(table);
    const qsizetype size = subjectListBytes(table)->size();
    for (auto _ : state) {
        QByteArray bytes(size, Qt::Uninitialized);
        char* out = bytes.data();
        const auto put = [&out](QStringView text, qsizetype width) {
            for (const QChar c : text)
                *out++ = char(c.unicode());
            if (text.size() < width) {
                std::memset(out, ' ', size_t(width - text.size()));
                out += width - text.size();
            }
        };
        for (int row = 1; row <= table.subjectCount(); ++row) {
            const auto cell = [&](Column column) { return QStringView(table.text(row, column)); };
            put(cell(SurnameColumn), record::kSurname.width);
            put(cell(NameColumn), record::kName.width);
            put(cell(MunicipalityCodeColumn), record::kMunicipalityCode.width);
            put(cell(ForeignPlaceColumn), record::kForeignPlace.width);
            const QStringView date = cell(BirthDateColumn);
            put(date.sliced(6, 4), 4);
            *out++ = '-';
            put(date.sliced(3, 2), 2);
            *out++ = '-';
            put(date.sliced(0, 2), 2);
            put(cell(StateCodeColumn), 0);
            put(cell(FatherColumn), record::kFather.width);
            put(cell(SexColumn), 0);
            put(cell(TaxCodeColumn), record::kTaxCode.width);
            put(cell(CuiColumn), 0);
            *out++ = '\r';
            *out++ = '\n';
        }
        if (out != bytes.data() + size)
            state.SkipWithError("the floor built other bytes");
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(FloorNarrowAndPad)->Unit(benchmark::kMillisecond);

void WriteSubjectList(benchmark::State& state) {
    SubjectTable table;
    fill(table);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.txt"));
    for (auto _ : state) {
        if (!writeFile(path, *subjectListBytes(table)))
            state.SkipWithError("cannot write");
    }
}
BENCHMARK(WriteSubjectList)->Unit(benchmark::kMillisecond);

// The floor of writing: the same bytes built once, then written to a temporary file with the
// same sync before it is renamed over the target, as every all-or-nothing write must.
void FloorWriteSyncRename(benchmark::State& state) {
    SubjectTable table;
    fill(table);
    const QByteArray bytes = *subjectListBytes(table);
    QTemporaryDir dir;
    const QByteArray temporary = QFile::encodeName(dir.filePath(QStringLiteral(".list.tmp")));
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("list.txt")));
    for (auto _ : state) {
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool written = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) ==
                                            ssize_t(bytes.size());
        const bool synced = written && ::fsync(fd) == 0;
        if (fd >= 0)
            ::close(fd);
        if (!synced || std::rename(temporary.constData(), path.constData()) != 0)
            state.SkipWithError("cannot write");
    }
}
BENCHMARK(FloorWriteSyncRename)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
