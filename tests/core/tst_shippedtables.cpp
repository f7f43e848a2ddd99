#include "core/subjects/entryfields.h"
#include "core/subjects/referencetable.h"
#include "core/text/windows1252.h"

#include <QDir>
#include <QSet>
#include <QTest>

using namespace velmora;

namespace {

ReferenceTable shipped(const QString& name) {
    return ReferenceTable(QDir(QStringLiteral(VELMORA_SOURCE_DIR)).filePath("data/ref/") + name);
}

} // namespace

class TestShippedTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void format_data();
    void format();
    void knownPlaces_data();
    void knownPlaces();
    void statesOfToday();
};

// A table the program takes, without control characters, every name unique; current places and
// then former ones, each in alphabetical order (the states after ITALIA, which comes first).
// A suffix that tells homonyms apart can be typed into the place list.
void TestShippedTables::format_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("sortedFrom");
    QTest::addColumn<int>("fewest");
    QTest::newRow("municipalities") << "FileCodComuni.txt" << 0 << 10000;
    QTest::newRow("states") << "FileCodStati.txt" << 1 << 200;
}

void TestShippedTables::format() {
    QFETCH(QString, file);
    QFETCH(int, sortedFrom);
    QFETCH(int, fewest);
    ReferenceTable table = shipped(file);
    QVERIFY(table.refresh().ok());
    const QStringList& names = table.names();
    QVERIFY(names.size() > fewest);
    QCOMPARE(names.value(0) == u"ITALIA", sortedFrom == 1);
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

// A homonym that no longer exists keeps a line of its own beside the current one; a former
// name (Abano Bagni, now Abano Terme) shares the code, which an import names by today's name.
void TestShippedTables::knownPlaces_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("today"); // the name the code gives
    const char* const municipalities = "FileCodComuni.txt";
    const char* const states = "FileCodStati.txt";
    const std::array<const char*, 4> places[] = {
        {municipalities, "ROMA", "H501", "ROMA"},
        {municipalities, "MILANO", "F205", "MILANO"},
        {municipalities, "FORLI'", "D704", "FORLI'"},
        {municipalities, "FORLI' - PROV. CB - SOPPRESSO", "D703", "FORLI' DEL SANNIO"},
        {municipalities, "ABANO BAGNI", "A001", "ABANO TERME"},
        {states, "ITALIA", "Z000", "ITALIA"},
        {states, "FRANCIA", "Z110", "FRANCIA"},
        {states, "RHODESIA", "Z337", "ZIMBABWE"}};
    for (const auto& [file, name, code, today] : places)
        QTest::newRow(name) << QString(file) << QString(name) << QString(code) << QString(today);
}

void TestShippedTables::knownPlaces() {
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(QString, code);
    QFETCH(QString, today);
    ReferenceTable table = shipped(file);
    QVERIFY(table.refresh().ok());
    QCOMPARE(table.lookupName(name), code);
    QCOMPARE(table.names().value(table.lineOfCode(code)), today);
}

// A state whose name of today is not in doubt: its code's first line, which an import and the
// tax code use, is that name, whatever older names share the code.
void TestShippedTables::statesOfToday() {
    ReferenceTable table = shipped(QStringLiteral("FileCodStati.txt"));
    QVERIFY(table.refresh().ok());
    for (const char* name : {"ZIMBABWE", "SRI LANKA", "MYANMAR", "EMIRATI ARABI UNITI", "NAMIBIA",
                             "BENIN", "GUINEA BISSAU", "GUINEA EQUATORIALE", "BELIZE", "SURINAME",
                             "REGNO UNITO", "GERMANIA", "MACEDONIA DEL NORD"}) {
        const std::optional<QString> code = table.lookupName(QString::fromLatin1(name));
        QVERIFY2(code, name);
        QCOMPARE(table.names().value(table.lineOfCode(*code)), QString::fromLatin1(name));
    }
}

QTEST_GUILESS_MAIN(TestShippedTables)
#include "tst_shippedtables.moc"
