#pragma once

#include <QLineEdit>

namespace velmora {

// A date field that has no mask until it first gains the focus; from then on it shows
// "__/__/____" and takes digits only. shownText() is the text as the operator sees it. Empty, it
// shows the format, which it also gives a screen reader; F4, or Alt and the down arrow, ask for
// a calendar, as a list opens.
class MaskedDateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedDateEdit(QWidget* parent = nullptr);

    QString shownText() const;
    // Drops the mask and empties the field; the mask returns with the focus.
    void clearMask();
    bool hasMask() const { return !inputMask().isEmpty(); }

Q_SIGNALS:
    void calendarAsked();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace velmora
