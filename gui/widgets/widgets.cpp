#include "gui/widgets/widgets.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QMouseEvent>
#include <QRadioButton>

namespace velmora {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        Q_EMIT clicked();
        return;
    }
    QLabel::mousePressEvent(event);
}

void setBackground(QWidget& widget, QRgb rgb) {
    QPalette palette = widget.palette();
    const QColor colour = QColor::fromRgb(rgb);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, colour);
        palette.setColor(group, QPalette::Window, colour);
        palette.setColor(group, QPalette::Button, colour);
    }
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QRgb backgroundOf(const QWidget& widget) {
    return widget.palette().color(QPalette::Base).rgb() & 0xFFFFFF;
}

void RoundOptionButtons(QWidget& window) {
    const auto buttons = window.findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        if (!qobject_cast<QRadioButton*>(button) && !qobject_cast<QCheckBox*>(button))
            continue;
        QFont plain = button->font();
        plain.setBold(false);
        button->setFont(plain);
        button->setStyleSheet(QStringLiteral("::indicator { width: 13px; height: 13px; }"));
    }
}

} // namespace velmora
