#include "core/subjects/entryfields.h"
#include "core/subjects/referencetable.h"
#include "core/text/windows1252.h"

#include <QDir>
#include <QSet>
#include <QTest>

using namespace velmora;

namespace {

ReferenceTable shipped(const char* name) {
    return ReferenceTable(QDir(QStringLiteral(VELMORA_SOURCE_DIR)).filePath("data/ref/") + name);
}

} // namespace

class TestShippedTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void format();
    void knownPlaces();
};

// A table the program takes, without control characters, every name unique; current places and
// then former ones, each in alphabetical order (the states after ITALIA, which comes first).
// A suffix that tells homonyms apart can be typed into the place list.
void TestShippedTables::format() {
    for (const auto& [file, sortedFrom] :
         {std::pair("FileCodComuni.txt", 0), {"FileCodStati.txt", 1}}) {
        ReferenceTable table = shipped(file);
        QVERIFY(table.refresh().ok());
        const QStringList& names = table.names();
        QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
        int runs = 1;
        for (qsizetype i = 0; i < names.size(); ++i) {
            for (const QChar c : names[i])
                QVERIFY2(isPrintableWindows1252(c), qPrintable(names[i]));
            const qsizetype suffix = names[i].indexOf(QStringLiteral(" - "));
            for (const QChar c : QStringView(names[i]).mid(suffix < 0 ? names[i].size() : suffix))
                QVERIFY2(judgeKey(entryfields::placeList(), c, 0).kind == KeyDecision::Kind::Insert,
                         qPrintable(names[i]));
            if (i > sortedFrom && names[i - 1] > names[i])
                ++runs;
        }
        QCOMPARE(runs, 2);
    }
}

// A homonym that no longer exists keeps a line of its own beside the current one; a former
// name (Abano Bagni, now Abano Terme) shares the code, which an import names by today's name.
void TestShippedTables::knownPlaces() {
    ReferenceTable municipalities = shipped("FileCodComuni.txt");
    ReferenceTable states = shipped("FileCodStati.txt");
    QVERIFY(municipalities.refresh().ok() && states.refresh().ok());
    QVERIFY(municipalities.names().size() > 10000);
    QCOMPARE(states.names().value(0), QStringLiteral("ITALIA"));
    const std::tuple<ReferenceTable*, QString, QString> names[] = {
        {&municipalities, "ROMA", "H501"},
        {&municipalities, "MILANO", "F205"},
        {&municipalities, "FORLI'", "D704"},
        {&municipalities, "FORLI' - PROV. CB - SOPPRESSO", "D703"},
        {&municipalities, "ABANO BAGNI", "A001"},
        {&states, "ITALIA", "Z000"},
        {&states, "FRANCIA", "Z110"},
        {&states, "RHODESIA", "Z337"}};
    for (const auto& [table, name, code] : names)
        QCOMPARE(table->lookupName(name), code);
    QCOMPARE(municipalities.nameByCode(QStringLiteral("A001")), QStringLiteral("ABANO TERME"));
    QCOMPARE(states.nameByCode(QStringLiteral("Z337")), QStringLiteral("ZIMBABWE"));
    QCOMPARE(states.nameByCode(QStringLiteral("Z000")), QStringLiteral("ITALIA"));
}

QTEST_GUILESS_MAIN(TestShippedTables)
#include "tst_shippedtables.moc"
