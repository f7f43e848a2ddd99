#include "core/subjects/entryfields.h"
#include "core/subjects/referencetable.h"
#include "core/text/windows1252.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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

// Windows-1252 with CR LF, one NAME,CODE per line, every name unique; current places and then
// former ones, each in alphabetical order.
void TestShippedTables::format() {
    QFETCH(QString, file);
    QFETCH(int, sortedFrom);
    QFile raw(shippedTable(file));
    QVERIFY2(raw.open(QIODevice::ReadOnly), qPrintable(raw.fileName()));
    const QByteArray bytes = raw.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    // Every CR before an LF and every LF after a CR; no control characters besides, and none of
    // the bytes that Windows-1252 leaves undefined.
    QCOMPARE(bytes.count("\r\n"), bytes.count('\r'));
    QCOMPARE(bytes.count('\n'), bytes.count('\r'));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        QVERIFY2((byte >= 0x20 || byte == '\r' || byte == '\n') &&
                     !QByteArrayView("\x81\x8D\x8F\x90\x9D").contains(bytes[i]),
                 qPrintable(QString::number(i)));
    }

    const QStringList lines = decodeWindows1252(bytes).split(QStringLiteral("\r\n"));
    static const QRegularExpression code(QStringLiteral("^[A-Z][0-9]{3}$"));
    QSet<QString> names;
    QString previous;
    int runs = 1;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QStringList fields = lines[i].split(u',');
        QVERIFY2(fields.size() == 2, qPrintable(lines[i]));
        QVERIFY2(!fields[0].isEmpty(), qPrintable(lines[i]));
        QVERIFY2(code.match(fields[1]).hasMatch(), qPrintable(lines[i]));
        QVERIFY2(!names.contains(fields[0]), qPrintable(lines[i]));
        names.insert(fields[0]);
        // A suffix that tells homonyms apart can be typed into the place list.
        const qsizetype suffix = fields[0].indexOf(QStringLiteral(" - "));
        if (suffix >= 0) {
            for (QChar c : QStringView(fields[0]).mid(suffix))
                QVERIFY2(isTypableInPlaceList(c), qPrintable(lines[i]));
        }
        if (i > sortedFrom && previous > fields[0])
            ++runs;
        if (i >= sortedFrom)
            previous = fields[0];
    }
    QVERIFY(lines.last().isEmpty());
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
