#pragma once

#include <QLabel>
#include <QList>
#include <QWidget>
#include <functional>

namespace velmora {

class ClickableLabel;
class FilteredLineEdit;

// The special-character palette: 31 accented capitals (and ß) that a click types into the
// name field of the entry window from which the palette was opened.
class diacritici : public QWidget {
    Q_OBJECT
public:
    // `fieldOfBox` names the entry field for a CurrentBox, or none.
    using FieldOfBox = std::function<FilteredLineEdit*(int box)>;
    explicit diacritici(FieldOfBox fieldOfBox);

    // Which entry field receives the character: 1 Text1, 2 Text2, 3 Text5, 4 Text7, else none.
    int CurrentBox = 0;

    QLabel* Label1;
    QList<ClickableLabel*> characterLabels; // Label2 to Label32, in reading order

    // The focus into the field CurrentBox names; CurrentBox is spent. Returns that field.
    FilteredLineEdit* FocusCurrentBox();

private:
    void characterClicked(QChar character);

    FieldOfBox fieldOfBox_;
};

} // namespace velmora
