#include "core/text/textfile.h"
#include "core/text/windows1252.h"
#include "support/recorders.h"

#include <QBuffer>
#include <QTest>

using namespace velmora;

class TestTextFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineEnds() {
        const std::pair<QString, QStringList> cases[] = {
            {{}, {}},
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

    // Every byte decodes to its own character and back; what the code page lacks is refused.
    void codePage() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = decodeWindows1252(all);
        for (const auto& [byte, unicode] :
             {std::pair{0x80, 0x20AC}, {0x8A, 0x160}, {0x9F, 0x178}, {0xC8, 0xC8}})
            QCOMPARE(text.at(byte), QChar(unicode));
        QCOMPARE(encodeWindows1252(text).value(), all);
        QChar bad;
        QVERIFY(!encodeWindows1252(QStringLiteral("ROSSI \u0141UKASZ"), &bad));
        QCOMPARE(bad, QChar(0x0141));
        QVERIFY(!encodeWindows1252(QString::fromUtf8("\xF0\x9F\x98\x80")));
        QVERIFY(!encodeWindows1252(QString(QChar(0x80)))); // byte 0x80 is the euro sign
        QCOMPARE(upperWithin1252(QStringLiteral("rossi \u00E0\u00E8\u00FF\u0161\u00DF\u00B51")),
                 QStringLiteral("ROSSI \u00C0\u00C8\u0178\u0160\u00DF\u00B51")); // ß and µ stay
    }

    void writeIsAllOrNothing() {
        test::ScratchFolder folder;
        const QString path = folder.path("out.txt");
        QVERIFY(writeTextFile(path, joinLines({QStringLiteral("CITT\u00C0"), QString()})));
        QCOMPARE(test::readBytes(path), QByteArray("CITT\xC0\r\n\r\n"));
        QCOMPARE(writeTextFile(path, QStringLiteral("NEW \u0141\r\n")).error(),
                 cannotWrite(path, unencodable(QChar(0x0141))));
        QCOMPARE(test::readBytes(path), QByteArray("CITT\xC0\r\n\r\n")); // the earlier file stays
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
