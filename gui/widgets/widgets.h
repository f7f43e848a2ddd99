#pragma once

#include <QLabel>
#include <functional>

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

// The background of a field: white when enabled, light grey when not, and so on.
void setBackground(QWidget& widget, QRgb rgb);
QRgb backgroundOf(const QWidget& widget);

// Round option buttons and 13-pixel indicators, captions in plain type, for every option
// button and check box of `window`.
void RoundOptionButtons(QWidget& window);

} // namespace velmora
