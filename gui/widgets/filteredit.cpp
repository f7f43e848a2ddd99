#include "gui/widgets/filteredit.h"

#include "core/text/windows1252.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QToolTip>

namespace velmora {
namespace {

enum class KeyRoute { Editor, Paste, Typed, Ignored };

// Which keys are characters for the filter; editing and navigation keys and shortcuts
// keep their usual meaning.
KeyRoute routeOf(const QKeyEvent* event, bool enterIsTyped) {
    if (event->matches(QKeySequence::Paste))
        return KeyRoute::Paste;
    if (event->text().isEmpty())
        return KeyRoute::Editor;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return KeyRoute::Editor;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return enterIsTyped ? KeyRoute::Typed : KeyRoute::Editor;
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    // Windows tells AltGr, which types the third character of a key, as Ctrl and Alt: typed, and
    // so filtered. Alt alone is a window's mnemonic, and one that no control has types nothing.
    if ((modifiers & Qt::ControlModifier) && (modifiers & Qt::AltModifier))
        return KeyRoute::Typed;
    if (modifiers & Qt::AltModifier)
        return KeyRoute::Ignored;
    if (modifiers & (Qt::ControlModifier | Qt::MetaModifier))
        return KeyRoute::Editor;
    return KeyRoute::Typed;
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

// Types a character key or a paste into `field`; false leaves the key to the editor.
template <typename Field> bool typeKeyEvent(Field& field, QKeyEvent* event, bool enterIsTyped) {
    switch (routeOf(event, enterIsTyped)) {
    case KeyRoute::Editor:
        return false;
    case KeyRoute::Ignored:
        event->ignore();
        return true;
    case KeyRoute::Paste:
        field.typeText(clipboardText());
        break;
    case KeyRoute::Typed:
        field.typeText(event->text());
        break;
    }
    event->accept();
    return true;
}

// Text an input method commits is typed; what it is still composing stays with the editor,
// which gets `event` without its committed text through `pass`.
template <typename Field, typename Pass>
void typeInputMethodEvent(Field& field, QInputMethodEvent* event, Pass pass) {
    const QString commit = event->commitString();
    if (commit.isEmpty()) {
        pass(event);
        return;
    }
    QInputMethodEvent preeditOnly(event->preeditString(), event->attributes());
    pass(&preeditOnly);
    field.typeText(commit);
    event->accept();
}

} // namespace

bool KeyTyping::typeOne(QChar key, qsizetype length, QChar* insert) {
    const KeyDecision decision = judgeKey(filter_, key, length);
    switch (decision.kind) {
    case KeyDecision::Kind::Insert:
        *insert = decision.character;
        return true;
    case KeyDecision::Kind::Drop:
        return true;
    case KeyDecision::Kind::Refuse:
        if (warning_)
            warning_(decision.message);
        return false;
    }
    return false;
}

void KeyTyping::tellDropped(QWidget& field, QChar key) {
    QToolTip::showText(field.mapToGlobal(QPoint(0, field.height())),
                       QStringLiteral("Carattere non ammesso: %1").arg(shownCharacter(key)),
                       &field);
}

FilteredLineEdit::FilteredLineEdit(QWidget* parent) : QLineEdit(parent) {
    setDragEnabled(false);
}

void FilteredLineEdit::setKeyFilter(KeyFilter filter, Warning warning) {
    typing_.setFilter(std::move(filter));
    typing_.setWarning(std::move(warning));
}

void FilteredLineEdit::typeText(const QString& text) {
    typing_.type(*this, text);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::ControlModifier) {
        event->accept();
        Q_EMIT paletteAsked();
        return;
    }
    if (!typeKeyEvent(*this, event, false))
        QLineEdit::keyPressEvent(event);
}

void FilteredLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    deselect();
    setCursorPosition(int(text().size()));
}

void FilteredLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    Q_EMIT focusLost();
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The standard menu's paste would bypass the filter: route it through typing. The action
    // is known by its text, translated as the line edit translates it.
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* action : menu->actions()) {
        if (!action->text().startsWith(pasteText))
            continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, [this] { typeText(clipboardText()); });
    }
    menu->popup(event->globalPos());
}

void FilteredLineEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (!isReadOnly() && event->mimeData()->hasText())
        event->acceptProposedAction();
}

void FilteredLineEdit::dropEvent(QDropEvent* event) {
    if (isReadOnly() || !event->mimeData()->hasText())
        return;
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    typeText(event->mimeData()->text());
    event->acceptProposedAction();
}

void FilteredLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    typeInputMethodEvent(*this, event,
                         [this](QInputMethodEvent* e) { QLineEdit::inputMethodEvent(e); });
}

FilteredTextEdit::FilteredTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
}

void FilteredTextEdit::setKeyFilter(KeyFilter filter, Warning warning) {
    typing_.setFilter(std::move(filter));
    typing_.setWarning(std::move(warning));
}

void FilteredTextEdit::typeText(const QString& text) {
    typing_.type(*this, text);
}

void FilteredTextEdit::keyPressEvent(QKeyEvent* event) {
    if (!typeKeyEvent(*this, event, true))
        QPlainTextEdit::keyPressEvent(event);
}

void FilteredTextEdit::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    moveCursor(QTextCursor::End);
}

bool FilteredTextEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

// Paste, the context menu's paste and drops all arrive here.
void FilteredTextEdit::insertFromMimeData(const QMimeData* source) {
    typeText(source->text());
}

void FilteredTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    typeInputMethodEvent(*this, event,
                         [this](QInputMethodEvent* e) { QPlainTextEdit::inputMethodEvent(e); });
}

} // namespace velmora
