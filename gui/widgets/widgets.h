#pragma once

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <functional>

class QAbstractButton;
class QToolButton;

namespace velmora {

// Tells the operator why an input was refused; the window decides how.
using Warning = std::function<void(const QString& text)>;

// A picture the operator can click.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The background of a field: white when enabled, light grey when not, and so on; its text
// colour goes with it, so that a dark system scheme never writes light text on it.
void setBackground(QWidget& widget, QRgb rgb);
QRgb backgroundOf(const QWidget& widget);

// The keys of a window: Enter presses the focused button, and Esc presses `cancel`, or closes
// the window when it has none.
void pressButtonsByKey(QWidget& window);
void cancelOnEscape(QWidget& window, QAbstractButton* cancel = nullptr);

// `window` belongs to `owner`: it stays above it and closes with it.
void ownWindow(QWidget& window, QWidget& owner);

// A window about to be shown is centred over `owner` (or its screen, while `owner` is hidden);
// one already shown stays where the operator left it.
void centreOver(QWidget& window, const QWidget& owner);
// A window put next to `anchor`, on its right, unless it is shown already.
void placeBeside(QWidget& window, const QWidget& anchor);
// Shows the window, or brings it to the front when it is shown already.
void bringToFront(QWidget& window);

// Round option buttons and 13-pixel indicators, captions in plain type, for every option
// button and check box of `window`.
void roundOptionButtons(QWidget& window);

// `object` under the name tests and the accessibility tree know it by: its member's name.
template <typename Object> Object* named(Object* object, const char* name) {
    object->setObjectName(QLatin1String(name));
    return object;
}

// A caption for `field`, beside it: it names the field to a screen reader, and Alt with the
// letter after '&' in `text` moves the focus there.
QLabel* captionFor(const QString& text, QWidget* field, QWidget* parent);

// A small button with a picture and no caption: it takes the focus, shows `name` as its tooltip
// and says it to a screen reader.
QToolButton* pictureButton(const QString& picture, const QString& name, QWidget* parent);

// A screen reader is told that the windows the main window owns are dialogs: they are plain
// widgets kept above it. Once for the whole run, before any window is made.
void presentOwnedWindowsAsDialogs();

// The row of a window's closing buttons, to the right: confirm, then cancel.
QHBoxLayout* buttonRow(QPushButton* confirm, QPushButton* cancel);

} // namespace velmora
