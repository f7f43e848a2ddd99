#include "gui/widgets/maskeddateedit.h"

namespace velmora {
namespace {
const QString kDateMask = QStringLiteral("00/00/0000;_");
const QString kUntouched = QStringLiteral("__/__/____");
} // namespace

MaskedDateEdit::MaskedDateEdit(QWidget* parent) : QLineEdit(parent) {
    setDragEnabled(false);
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

} // namespace velmora
