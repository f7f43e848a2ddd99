#pragma once

#include <QLineEdit>

namespace velmora {

// A date field that has no mask until it first gains the focus; from then on it shows
// "__/__/____" and takes digits only. shownText() is the text as the operator sees it.
class MaskedDateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedDateEdit(QWidget* parent = nullptr);

    QString shownText() const;
    // Drops the mask and empties the field; the mask returns with the focus.
    void clearMask();
    bool hasMask() const { return !inputMask().isEmpty(); }

protected:
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace velmora
