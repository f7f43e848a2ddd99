#include "core/text/textfile.h"
#include "core/text/windows1252.h"
#include "support/recorders.h"

#include <QBuffer>
#include <QTest>

using namespace velmora;

class TestTextFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineEnds_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("no last end") << "A\r\nB" << QStringList{"A", "B"};
        QTest::newRow("lone CR") << "A\rB\r" << QStringList{"A", "B"};
        QTest::newRow("empty lines") << "A\r\n\r\n\r\nD\r\n" << QStringList{"A", "", "", "D"};
        QTest::newRow("one end") << "\r\n" << QStringList{""};
        QTest::newRow("CR, CR LF") << "A\r\r\nB" << QStringList{"A", "", "B"};
        QTest::newRow("lone LF") << "A\nB\nC" << QStringList{"A\nB\nC"};
    }

    void lineEnds() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(splitLines(text), lines);
        QByteArray bytes = *encodeWindows1252(text);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(readTextLines(buffer), lines);
    }

    // Every byte decodes to its own character and back; what the code page lacks is refused.
    void codePage() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = decodeWindows1252(all);
        QCOMPARE(text.mid(0x80, 32),
                 QString::fromUtf16(u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030"
                                    u"\u0160\u2039\u0152\u008D\u017D\u008F"
                                    u"\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122"
                                    u"\u0161\u203A\u0153\u009D\u017E\u0178"));
        QCOMPARE(text.mid(0x7E, 2) + text.mid(0xA0, 1) + text.mid(0xFF), "~\x7F\u00A0\u00FF");
        QCOMPARE(decodeWindows1252("\x80\x8A"), QStringLiteral("\u20AC\u0160"));
        QCOMPARE(encodeWindows1252(text).value(), all);
        QChar bad;
        QVERIFY(!encodeWindows1252(QStringLiteral("ROSSI \u0141UKASZ"), &bad));
        QCOMPARE(bad, QChar(0x0141));
        QVERIFY(!encodeWindows1252(QString::fromUtf8("\xF0\x9F\x98\x80")));
        QVERIFY(!encodeWindows1252(QString(QChar(0x80)))); // byte 0x80 is the euro sign
        QString upper = QStringLiteral("rossi \u00E0\u00E8\u00FF\u0161\u00DF\u00B51");
        for (QChar& c : upper)
            c = upperWithin1252(c);
        QCOMPARE(upper,
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
