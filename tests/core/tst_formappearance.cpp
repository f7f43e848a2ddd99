#include "core/pdf/formappearance.h"

#include <QTest>

using namespace velmora;

namespace {

// Every character half the font size wide: widths in the tests are easy to count.
FontWidths halfWide() {
    return {32, QList<double>(224, 500)};
}

} // namespace

class TestFormAppearance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void oneLineShrinksToFit();
    void boxWrapsThenShrinks();
    void drawnEscapedAndInsideTheBox();
};

void TestFormAppearance::oneLineShrinksToFit() {
    const TextBox box{104, 16, false, 10}; // 100 points inside the padding
    QCOMPARE(layoutText(QByteArray(20, 'A'), box, halfWide()).fontSize, 10.0);
    // 25 characters take 125 points at 10, 100 at 8.
    const TextLayout shrunk = layoutText(QByteArray(25, 'A'), box, halfWide());
    QCOMPARE(shrunk.fontSize, 8.0);
    QCOMPARE(shrunk.lines, QList<QByteArray>{QByteArray(25, 'A')});
    // Too long even at the smallest size: kept whole, the box cuts it.
    const TextLayout smallest = layoutText(QByteArray(200, 'A'), box, halfWide());
    QCOMPARE(smallest.fontSize, 6.0);
    QCOMPARE(smallest.lines.first().size(), 200);
    QVERIFY(layoutText({}, box, halfWide()).lines.isEmpty());
}

void TestFormAppearance::boxWrapsThenShrinks() {
    // 46 points inside, two lines of 11.5 points at size 10.
    const TextBox box{50, 27, true, 10};
    const TextLayout two = layoutText("AAAA  BBBB CCCC", box, halfWide());
    QCOMPARE(two.fontSize, 10.0);
    QCOMPARE(two.lines, (QList<QByteArray>{"AAAA BBBB", "CCCC"}));
    // A word wider than the box is broken where it must be.
    QCOMPARE(layoutText("ABCDEFGHIJKLMNOP", box, halfWide()).lines,
             (QList<QByteArray>{"ABCDEFGHI", "JKLMNOP"}));
    // Three lines at 10 (and still at 7) become two at 6.5.
    const TextLayout smaller = layoutText("AAAA BBBB CCCC DDDD EEEE", box, halfWide());
    QCOMPARE(smaller.fontSize, 6.5);
    QCOMPARE(smaller.lines, (QList<QByteArray>{"AAAA BBBB CCCC", "DDDD EEEE"}));
}

void TestFormAppearance::drawnEscapedAndInsideTheBox() {
    const TextBox box{100, 16, false, 10};
    const QByteArray content = appearanceContent({10, {"FORL\xCC (1)\\2"}}, box, "Helv");
    QVERIFY(content.startsWith("/Tx BMC\n"));
    QVERIFY(content.endsWith("EMC\n"));
    QVERIFY(content.contains("2.00 2.00 96.00 12.00 re W n"));
    QVERIFY(content.contains("/Helv 10.00 Tf"));
    QVERIFY(content.contains("(FORL\\314 \\(1\\)\\\\2) Tj"));
}

QTEST_GUILESS_MAIN(TestFormAppearance)
#include "tst_formappearance.moc"
