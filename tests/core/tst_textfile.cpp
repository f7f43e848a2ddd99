#include "core/text/textfile.h"
#include "core/text/windows1252.h"
#include "support/recorders.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

using namespace velmora;

class TestTextFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineEnds();
    void everyByteSurvivesARoundTrip();
    void textTheCodePageCannotHoldIsAnError();
    void upperCaseStaysInsideTheCodePage();
    void writeIsAllOrNothing();
};

void TestTextFile::lineEnds() {
    const std::pair<QString, QStringList> cases[] = {
        {{}, {}},
        {"A\r\nB\r\n", {"A", "B"}},
        {"A\r\nB", {"A", "B"}}, // the last line without its end
        {"A\rB\r", {"A", "B"}},
        {"A\nB\nC", {"A\nB\nC"}}, // a lone LF ends no line
        {"A\r\n\r\n\r\nD\r\n", {"A", "", "", "D"}},
        {"\r\n", {""}},
        {"A\r\r\nB", {"A", "", "B"}},
    };
    for (const auto& [text, lines] : cases) {
        QCOMPARE(splitLines(text), lines);
        QByteArray bytes = *encodeWindows1252(text);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(readTextLines(buffer).lines, lines);
    }
}

void TestTextFile::everyByteSurvivesARoundTrip() {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = decodeWindows1252(all);
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QCOMPARE(text.at(0xC8), QChar(u'\u00C8'));
    QCOMPARE(text.at(0x9F), QChar(0x0178));
    QCOMPARE(encodeWindows1252(text).value(), all);
}

void TestTextFile::textTheCodePageCannotHoldIsAnError() {
    QChar bad;
    QVERIFY(!encodeWindows1252(QStringLiteral("ROSSI \u0141UKASZ"), &bad));
    QCOMPARE(bad, QChar(0x0141));
    QVERIFY(!encodeWindows1252(QString::fromUtf8("\xF0\x9F\x98\x80")));
    QVERIFY(!encodeWindows1252(QString(QChar(0x80)))); // byte 0x80 is the euro sign
}

void TestTextFile::upperCaseStaysInsideTheCodePage() {
    QCOMPARE(upperWithin1252(QStringLiteral("rossi \u00E0\u00E8\u00FF\u0161")),
             QStringLiteral("ROSSI \u00C0\u00C8\u0178\u0160"));
    QCOMPARE(upperWithin1252(QChar(u'\u00DF')), QChar(u'\u00DF')); // ß stays one letter
    QCOMPARE(upperWithin1252(QChar(u'\u00B5')), QChar(u'\u00B5')); // µ: its capital is Greek
    QCOMPARE(upperWithin1252(QChar(u'1')), QChar(u'1'));
}

void TestTextFile::writeIsAllOrNothing() {
    test::ScratchFolder folder;
    const QString path = folder.path(QStringLiteral("out.txt"));
    QVERIFY(writeTextFile(path, joinLines({QStringLiteral("CITT\u00C0"), QString()})));
    QCOMPARE(test::readBytes(path), QByteArray("CITT\xC0\r\n\r\n"));
    QCOMPARE(writeTextFile(path, QStringLiteral("NEW \u0141\r\n")).error(),
             cannotWrite(path, unencodable(QChar(0x0141))));
    QCOMPARE(test::readBytes(path), QByteArray("CITT\xC0\r\n\r\n")); // the earlier file stays
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
