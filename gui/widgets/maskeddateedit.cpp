#include "gui/widgets/maskeddateedit.h"

#include <QKeyEvent>

namespace velmora {
namespace {
const QString kDateMask = QStringLiteral("00/00/0000;_");
const QString kUntouched = QStringLiteral("__/__/____");
const QString kFormat = QStringLiteral("gg/mm/aaaa");
} // namespace

MaskedDateEdit::MaskedDateEdit(QWidget* parent) : QLineEdit(parent) {
    setDragEnabled(false);
    setPlaceholderText(kFormat);
    setAccessibleDescription(kFormat);
}

QString MaskedDateEdit::shownText() const {
    return hasMask() ? displayText() : text();
}

void MaskedDateEdit::clearMask() {
    setInputMask(QString());
    clear();
}

void MaskedDateEdit::focusInEvent(QFocusEvent* event) {
    if (!hasMask()) {
        const QString typed = text();
        setInputMask(kDateMask);
        setText(typed);
    }
    QLineEdit::focusInEvent(event);
    deselect();
    // An untouched date is typed from its first digit; a typed one is continued at its end.
    setCursorPosition(displayText() == kUntouched ? 0 : int(displayText().size()));
}

// Left untouched, the field is empty again: it shows the format, not "__/__/____", and a screen
// reader does not read "//".
void MaskedDateEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (hasMask() && displayText() == kUntouched)
        clearMask();
}

void MaskedDateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && event->modifiers() & Qt::AltModifier)) {
        event->accept();
        Q_EMIT calendarAsked();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace velmora
