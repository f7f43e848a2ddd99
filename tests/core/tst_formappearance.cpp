#include "core/pdf/formappearance.h"

#include <QTest>

using namespace velmora;

// Every character half the font size wide: widths in the tests are easy to count.
static const FontWidths kHalfWide{32, QList<double>(224, 500)};

class TestFormAppearance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layout() {
        const TextBox line{104, 16, false, 10}; // 100 points inside the padding
        const TextBox box{50, 27, true, 10};    // 46 points inside, two lines of 11.5 at 10
        // 25 characters take 125 points at 10, 100 at 8; too long even at 6: kept whole.
        const std::tuple<QByteArray, TextBox, double, QList<QByteArray>> cases[] = {
            {QByteArray(20, 'A'), line, 10, {QByteArray(20, 'A')}},
            {QByteArray(25, 'A'), line, 8, {QByteArray(25, 'A')}},
            {QByteArray(200, 'A'), line, 6, {QByteArray(200, 'A')}},
            {"AAAA  BBBB CCCC", box, 10, {"AAAA BBBB", "CCCC"}},
            {"ABCDEFGHIJKLMNOP", box, 10, {"ABCDEFGHI", "JKLMNOP"}}, // broken where it must be
            // Three lines at 10 (and still at 7) become two at 6.5.
            {"AAAA BBBB CCCC DDDD EEEE", box, 6.5, {"AAAA BBBB CCCC", "DDDD EEEE"}},
        };
        for (const auto& [text, within, size, lines] : cases) {
            const TextLayout laid = layoutText(text, within, kHalfWide);
            QCOMPARE(laid.fontSize, size);
            QCOMPARE(laid.lines, lines);
        }
        QVERIFY(layoutText({}, line, kHalfWide).lines.isEmpty());
    }

    void drawnEscapedAndInsideTheBox() {
        QCOMPARE(appearanceContent({10, {"FORL\xCC (1)\\2"}}, {100, 16, false, 10}, "Helv"),
                 "/Tx BMC\nq\n2.00 2.00 96.00 12.00 re W n\nBT\n/Helv 10.00 Tf\n0 g\n11.50 TL\n"
                 "2.00 4.50 Td\n(FORL\\314 \\(1\\)\\\\2) Tj\nET\nQ\nEMC\n");
    }
};

QTEST_GUILESS_MAIN(TestFormAppearance)
#include "tst_formappearance.moc"
