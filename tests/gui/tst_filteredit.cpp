#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "support/recorders.h"
#include "support/typing.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QToolTip>

using namespace velmora;

namespace {

KeyFilter fiveLetters() {
    return {keys::isAsciiLetter, 5, QStringLiteral("Max 5"), KeyFilter::Order::CharacterFirst,
            true};
}

} // namespace

// Every way text comes into a field passes through the field's filter.
class TestFilteredEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typedPastedAndDroppedTextIsFiltered();
    void dateFieldShowsItsMaskOnFocus();
};

void TestFilteredEdit::typedPastedAndDroppedTextIsFiltered() {
    test::RecordingMessages messages;
    struct DropTarget : FilteredLineEdit {
        using FilteredLineEdit::dropEvent;
    } edit;
    edit.setKeyFilter(fiveLetters(), warningsTo(messages));
    test::typeKeys(&edit, QStringLiteral("ab1c"));
    QCOMPARE(edit.text(), QStringLiteral("ABC"));
    QCOMPARE(QToolTip::text(), QStringLiteral("Carattere non ammesso: \u00AB1\u00BB"));
    QGuiApplication::clipboard()->setText(QStringLiteral("d-e"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.text(), QStringLiteral("ABCDE"));
    QVERIFY(messages.shown.isEmpty());
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.text(), QStringLiteral("ABCDE"));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Max 5")});
    edit.clear();
    QMimeData data;
    data.setText(QStringLiteral("x9y"));
    QDropEvent drop(QPointF(1, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    edit.dropEvent(&drop);
    // Alt and a letter is a mnemonic, never typed; AltGr (Ctrl+Alt on Windows) types, filtered.
    QTest::keyClick(&edit, 'f', Qt::AltModifier);
    QTest::keyClick(&edit, 'z', Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(edit.text(), QStringLiteral("XYZ"));

    FilteredTextEdit text;
    text.setKeyFilter(fiveLetters(), {});
    QTest::keyClicks(&text, QStringLiteral("ab"));
    QTest::keyClick(&text, Qt::Key_Return);
    QGuiApplication::clipboard()->setText(QStringLiteral("c\r\nd"));
    text.paste();
    QCOMPARE(text.toPlainText(), QStringLiteral("ABCD"));
}

void TestFilteredEdit::dateFieldShowsItsMaskOnFocus() {
    MaskedDateEdit date;
    date.show();
    date.activateWindow();
    date.setFocus();
    QTRY_VERIFY(date.hasFocus());
    QCOMPARE(date.shownText(), QStringLiteral("__/__/____"));
    QTest::keyClicks(&date, QStringLiteral("12a032010"));
    QCOMPARE(date.shownText(), QStringLiteral("12/03/2010"));
    date.clearMask();
    QCOMPARE(date.shownText(), QString());
}

QTEST_MAIN(TestFilteredEdit)
#include "tst_filteredit.moc"
