#include "gui/diacritici.h"
#include "gui/insertpersona.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/widgets.h"
#include "support/fixture.h"

#include <QDir>
#include <QPointer>
#include <QTest>

using namespace velmora;

namespace {

// An entry window open on a working folder with minimal reference tables.
struct PaletteFixture : test::ProgramFixture {
    PaletteFixture() {
        QDir(folder.path()).mkdir(QStringLiteral("ref"));
        writeFile(QStringLiteral("ref/FileCodComuni.txt"), "ROMA,H501\r\n");
        writeFile(QStringLiteral("ref/FileCodStati.txt"), "ITALIA,Z000\r\n");
        program.principale().Command3_Click();
    }
    InsertPersona& entry() { return program.entryWindow(); }

    // Opens the palette from a palette button and clicks a character.
    void clickCharacter(ClickableLabel* button, QChar character) {
        QTest::mouseClick(button, Qt::LeftButton);
        palette = &program.palette();
        for (ClickableLabel* label : palette->characterLabels) {
            if (label->text() == character)
                QTest::mouseClick(label, Qt::LeftButton);
        }
    }

    QPointer<diacritici> palette;
};

bool gone(QWidget* window) {
    const QPointer<QWidget> watched(window);
    return QTest::qWaitFor([&] { return watched.isNull(); });
}

} // namespace

class TestDiacritici : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsThirtyOneCharactersInSixRows();
    void clickTypesIntoTheFieldItWasOpenedFrom();
};

void TestDiacritici::showsThirtyOneCharactersInSixRows() {
    PaletteFixture f;
    diacritici& palette = f.program.palette();
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    QCOMPARE(palette.characterLabels.size(), 31);

    // Each row as the operator reads it, a blank where a cell is left empty.
    const int cell = palette.characterLabels.first()->width();
    const int left = palette.characterLabels.first()->x();
    const int pitch = palette.characterLabels.at(1)->x() - left;
    QStringList rows;
    int lastY = -1;
    for (const ClickableLabel* label : palette.characterLabels) {
        QCOMPARE(label->size(), QSize(cell, cell));
        if (label->y() != lastY) {
            rows.append(QString());
            lastY = label->y();
        }
        const int column = (label->x() - left) / pitch;
        rows.last() = rows.last().leftJustified(column) + label->text();
    }
    QCOMPARE(rows, QStringList({QStringLiteral("\u00C0\u00C1\u00C2\u00C3\u00C4\u00C5\u00C6"),
                                QStringLiteral("\u00C7 \u00D0\u00C8\u00C9\u00CA\u00CB"),
                                QStringLiteral("\u00CC\u00CD\u00CE\u00CF \u00D1"),
                                QStringLiteral("\u00D2\u00D3\u00D4\u00D5\u00D6\u00D8"),
                                QStringLiteral("\u00DF \u00DE"),
                                QStringLiteral("\u00D9\u00DA\u00DB\u00DC \u00DD")}));
}

void TestDiacritici::clickTypesIntoTheFieldItWasOpenedFrom() {
    PaletteFixture f;
    InsertPersona& entry = f.entry();
    entry.Text5->setText(QStringLiteral("GIOS"));
    f.clickCharacter(entry.Image3, u'\u00C8');
    QCOMPARE(entry.Text5->text(), QStringLiteral("GIOS\u00C8"));
    QVERIFY(gone(f.palette));
    QCOMPARE(entry.Text1->text(), QString());

    // ß has no capital of its own and stays as it is.
    f.clickCharacter(entry.Image1, u'\u00DF');
    QCOMPARE(entry.Text1->text(), QStringLiteral("\u00DF"));
    QCOMPARE(f.palette->CurrentBox, 0);
    QVERIFY(gone(f.palette));
    f.clickCharacter(entry.Image4, u'\u00D8');
    QCOMPARE(entry.Text7->text(), QStringLiteral("\u00D8"));
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(gone(f.palette));

    // At the limit the character is refused with the field's own message.
    const QString full(72, u'A');
    entry.Text5->setText(full);
    f.clickCharacter(entry.Image3, u'\u00C8');
    QCOMPARE(entry.Text5->text(), full);
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Max 72 Caratteri")});
    QVERIFY(gone(f.palette));
}

QTEST_MAIN(TestDiacritici)
#include "tst_diacritici.moc"
