#pragma once

#include <QPointer>
#include <QWidget>

namespace velmora {

class FilteredLineEdit;

// The special-character palette: 31 accented capitals (and ß) that a click types into the
// name field of the subject dialog from which the palette was opened.
class CharacterPalette : public QWidget {
    Q_OBJECT
public:
    CharacterPalette();

    // The field the next click types into; none types nowhere.
    void setTarget(FilteredLineEdit* field) { target_ = field; }

private:
    void characterClicked(QChar character);

    QPointer<FilteredLineEdit> target_;
};

} // namespace velmora
