#include "gui/characterpalette.h"

#include "gui/widgets/filteredit.h"
#include "gui/widgets/widgets.h"

#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora {
namespace {

const QString kCaption = QStringLiteral(" Caratteri Speciali");
// Six rows of cells; a blank leaves its cell empty.
const QString kRows[] = {
    QStringLiteral("\u00C0\u00C1\u00C2\u00C3\u00C4\u00C5\u00C6"),
    QStringLiteral("\u00C7 \u00D0\u00C8\u00C9\u00CA\u00CB"),
    QStringLiteral("\u00CC\u00CD\u00CE\u00CF \u00D1"),
    QStringLiteral("\u00D2\u00D3\u00D4\u00D5\u00D6\u00D8"),
    QStringLiteral("\u00DF \u00DE"),
    QStringLiteral("\u00D9\u00DA\u00DB\u00DC \u00DD"),
};
constexpr int kCell = 30;

} // namespace

CharacterPalette::CharacterPalette() {
    setWindowTitle(kCaption);
    auto* page = new QVBoxLayout(this);
    page->addWidget(new QLabel(QStringLiteral("Cliccare sul carattere per selezionare :"), this));
    setAccessibleDescription(QStringLiteral("Cliccare sul carattere per selezionare :"));
    auto* cells = new QGridLayout;
    cells->setSpacing(3);
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    int row = 0;
    for (const QString& characters : kRows) {
        int column = 0;
        for (const QChar character : characters) {
            if (character != u' ') {
                // A button: clicked, or reached with Tab and pressed with Space or Enter.
                auto* button = new QToolButton(this);
                button->setText(QString(character));
                button->setAccessibleName(QString(character));
                button->setFocusPolicy(Qt::StrongFocus);
                button->setMinimumSize(kCell, kCell);
                button->setFont(big);
                button->setCursor(Qt::PointingHandCursor);
                connect(button, &QToolButton::clicked, this,
                        [this, character] { characterClicked(character); });
                cells->addWidget(button, row, column);
            }
            ++column;
        }
        ++row;
    }
    page->addLayout(cells);
    page->addStretch();
    cancelOnEscape(*this);
    setFixedSize(sizeHint());
}

// Typed through the field's own key handling: its filter, its capitals, its length message.
// The target is spent: the next opening names its own.
void CharacterPalette::characterClicked(QChar character) {
    if (FilteredLineEdit* field = target_.data()) {
        target_ = nullptr;
        field->activateWindow();
        field->setFocus(Qt::OtherFocusReason);
        field->typeText(QString(character));
    }
    close();
}

} // namespace velmora
