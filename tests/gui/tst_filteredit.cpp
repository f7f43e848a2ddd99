#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "support/recorders.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>

using namespace velmora;

namespace {

bool lettersOnly(int c) {
    return keys::isAsciiLetter(c) || keys::isAccented(c);
}

KeyFilter fiveLetters() {
    return {lettersOnly, 5, QStringLiteral("Max 5"), KeyFilter::Order::CharacterFirst, true};
}

} // namespace

class TestFilteredEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typedAndPastedKeysPassTheFilter();
    void contextMenuPasteAndDropAreFiltered();
    void textEditDropsEnterAndFiltersPaste();
    void dateFieldShowsItsMaskOnFocus();
};

void TestFilteredEdit::typedAndPastedKeysPassTheFilter() {
    test::RecordingMessages messages;
    FilteredLineEdit edit;
    edit.setKeyFilter(fiveLetters(), warningsTo(messages));
    test::typeKeys(&edit, QStringLiteral("ab1\u00E0c"));
    QCOMPARE(edit.text(), QStringLiteral("AB\u00C0C"));
    QTest::keyClicks(&edit, QStringLiteral("dz"));
    QCOMPARE(edit.text(), QStringLiteral("AB\u00C0CD"));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Max 5")});
    edit.setSelection(1, 3); // typing over a selection: judged on the text it leaves
    QTest::keyClicks(&edit, QStringLiteral("x"));
    QCOMPARE(edit.text(), QStringLiteral("AXD"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("AD"));

    edit.clear();
    messages.shown.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("r1o\ns\u0141si"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.text(), QStringLiteral("ROSSI"));
    QVERIFY(messages.shown.isEmpty());
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.text(), QStringLiteral("ROSSI"));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Max 5")}); // once, not per letter
}

void TestFilteredEdit::contextMenuPasteAndDropAreFiltered() {
    struct DropTarget : FilteredLineEdit {
        using FilteredLineEdit::dropEvent;
    } edit;
    edit.setKeyFilter(fiveLetters(), {});
    edit.resize(200, 30);
    QGuiApplication::clipboard()->setText(QStringLiteral("a-b"));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(&edit, &event);
    auto* menu = edit.findChild<QMenu*>();
    QVERIFY(menu);
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(pasteText))
            action->trigger();
    }
    QCOMPARE(edit.text(), QStringLiteral("AB"));
    menu->close();

    QMimeData data;
    data.setText(QStringLiteral("x9y"));
    QDropEvent drop(QPointF(1, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    edit.dropEvent(&drop);
    QVERIFY(edit.text().contains(QStringLiteral("XY")));
    QCOMPARE(edit.text().size(), 4);
}

void TestFilteredEdit::textEditDropsEnterAndFiltersPaste() {
    FilteredTextEdit edit;
    edit.setKeyFilter(fiveLetters(), {});
    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.toPlainText(), QStringLiteral("AB"));
    QGuiApplication::clipboard()->setText(QStringLiteral("c\r\nd"));
    edit.paste();
    QCOMPARE(edit.toPlainText(), QStringLiteral("ABCD"));
}

void TestFilteredEdit::dateFieldShowsItsMaskOnFocus() {
    MaskedDateEdit date;
    QCOMPARE(date.shownText(), QString());
    date.show();
    date.activateWindow();
    date.setFocus();
    QTRY_VERIFY(date.hasFocus());
    QCOMPARE(date.shownText(), QStringLiteral("__/__/____"));
    QTest::keyClicks(&date, QStringLiteral("12a032010"));
    QCOMPARE(date.shownText(), QStringLiteral("12/03/2010"));
    date.clearMask();
    QCOMPARE(date.shownText(), QString());
    date.setText(QStringLiteral("05/01/2010"));
    QCOMPARE(date.shownText(), QStringLiteral("05/01/2010"));
}

QTEST_MAIN(TestFilteredEdit)
#include "tst_filteredit.moc"
