#include "core/subjects/entryfields.h"
#include "core/subjects/referencetable.h"
#include "core/text/windows1252.h"

#include <QDir>
#include <QSet>
#include <QTest>

using namespace velmora;

namespace {

QString shippedTable(const QString& name) {
    return QDir(QStringLiteral(VELMORA_SOURCE_DIR)).filePath(QStringLiteral("data/ref/") + name);
}

// What the place lists of the entry window accept when typed.
bool isTypableInPlaceList(QChar c) {
    return judgeKey(entryfields::placeList(), c, 0).kind == KeyDecision::Kind::Insert;
}

} // namespace

class TestShippedTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void format_data();
    void format();
    void municipalitiesKnownAndFormer();
    void statesBeginWithItaly();
};

void TestShippedTables::format_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("sortedFrom"); // lines before it keep a fixed place
    QTest::newRow("municipalities") << QStringLiteral("FileCodComuni.txt") << 0;
    QTest::newRow("states") << QStringLiteral("FileCodStati.txt") << 1;
}

// A table the program takes (NAME,CODE lines with CR LF), without control characters, every
// name unique; current places and then former ones, each in alphabetical order.
void TestShippedTables::format() {
    QFETCH(QString, file);
    QFETCH(int, sortedFrom);
    ReferenceTable table(shippedTable(file));
    QVERIFY(table.refresh().ok());
    const QStringList& names = table.names();
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
    int runs = 1;
    for (qsizetype i = 0; i < names.size(); ++i) {
        for (const QChar c : names[i])
            QVERIFY2(isPrintableWindows1252(c), qPrintable(names[i]));
        // A suffix that tells homonyms apart can be typed into the place list.
        const qsizetype suffix = names[i].indexOf(QStringLiteral(" - "));
        for (const QChar c : QStringView(names[i]).mid(suffix < 0 ? names[i].size() : suffix))
            QVERIFY2(isTypableInPlaceList(c), qPrintable(names[i]));
        if (i > sortedFrom && names[i - 1] > names[i])
            ++runs;
    }
    QCOMPARE(runs, 2);
}

void TestShippedTables::municipalitiesKnownAndFormer() {
    ReferenceTable table(shippedTable(QStringLiteral("FileCodComuni.txt")));
    QVERIFY(table.refresh().ok());
    QVERIFY(table.names().size() > 10000);
    QCOMPARE(table.lookupName(QStringLiteral("ROMA")), std::optional<QString>("H501"));
    QCOMPARE(table.lookupName(QStringLiteral("MILANO")), std::optional<QString>("F205"));
    QCOMPARE(table.lookupName(QStringLiteral("FORLI'")), std::optional<QString>("D704"));
    // A homonym that no longer exists keeps a line of its own beside the current one.
    QCOMPARE(table.lookupName(QStringLiteral("FORLI' - PROV. CB - SOPPRESSO")),
             std::optional<QString>("D703"));
    // Former municipalities are there, after the current ones: Abano Bagni became Abano Terme
    // under the same code, which an import names by its name of today.
    QCOMPARE(table.lookupName(QStringLiteral("ABANO BAGNI")), std::optional<QString>("A001"));
    QCOMPARE(table.nameByCode(QStringLiteral("A001")), QStringLiteral("ABANO TERME"));
}

void TestShippedTables::statesBeginWithItaly() {
    ReferenceTable table(shippedTable(QStringLiteral("FileCodStati.txt")));
    QVERIFY(table.refresh().ok());
    QCOMPARE(table.names().value(0), QStringLiteral("ITALIA"));
    QCOMPARE(table.lookupName(QStringLiteral("ITALIA")), std::optional<QString>("Z000"));
    QCOMPARE(table.lookupName(QStringLiteral("FRANCIA")), std::optional<QString>("Z110"));
    QCOMPARE(table.nameByCode(QStringLiteral("Z000")), QStringLiteral("ITALIA"));
    QCOMPARE(table.nameByCode(QStringLiteral("Z337")), QStringLiteral("ZIMBABWE"));
    QCOMPARE(table.lookupName(QStringLiteral("RHODESIA")), std::optional<QString>("Z337"));
}

QTEST_GUILESS_MAIN(TestShippedTables)
#include "tst_shippedtables.moc"
