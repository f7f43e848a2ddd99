#include "gui/widgets/widgets.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

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
    // A fixed background takes its own text colour, whatever the system's scheme: black on a
    // light one, white on a dark one; grey, still readable, when the field is disabled.
    const bool light = qGray(rgb) >= 128;
    const QColor text = light ? Qt::black : Qt::white;
    const QColor disabledText = light ? QColor(0x50, 0x50, 0x50) : QColor(0xB0, 0xB0, 0xB0);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, colour);
        palette.setColor(group, QPalette::Window, colour);
        palette.setColor(group, QPalette::Button, colour);
        const QColor& written = group == QPalette::Disabled ? disabledText : text;
        for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(group, role, written);
    }
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QRgb backgroundOf(const QWidget& widget) {
    return widget.palette().color(QPalette::Base).rgb() & 0xFFFFFF;
}

void pressButtonsByKey(QWidget& window) {
    for (QPushButton* button : window.findChildren<QPushButton*>())
        button->setAutoDefault(true);
}

namespace {

// Esc that no control of the window took: the window's cancel, or its close.
class EscapeKey final : public QObject {
public:
    EscapeKey(QWidget& window, QAbstractButton* cancel)
        : QObject(&window), window_(window), cancel_(cancel) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window_ || event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return false;
        if (cancel_)
            cancel_->click();
        else
            window_.close();
        return true;
    }

private:
    QWidget& window_;
    QAbstractButton* cancel_;
};

} // namespace

void cancelOnEscape(QWidget& window, QAbstractButton* cancel) {
    window.installEventFilter(new EscapeKey(window, cancel));
}

namespace {

// `wanted` moved, as little as needed, to lie inside the screen that holds `point`.
QPoint onScreen(QRect wanted, const QWidget& near, QPoint point) {
    const QScreen* screen = near.screen();
    if (const QScreen* at = QGuiApplication::screenAt(point))
        screen = at;
    if (!screen)
        return wanted.topLeft();
    const QRect area = screen->availableGeometry();
    wanted.moveRight(std::min(wanted.right(), area.right()));
    wanted.moveBottom(std::min(wanted.bottom(), area.bottom()));
    wanted.moveLeft(std::max(wanted.left(), area.left()));
    wanted.moveTop(std::max(wanted.top(), area.top()));
    return wanted.topLeft();
}

} // namespace

void ownWindow(QWidget& window, QWidget& owner) {
    Qt::WindowFlags flags = window.windowFlags();
    // A plain window would not be kept above its owner by the window manager; a dialog is.
    if (window.windowType() == Qt::Window)
        flags = (flags & ~Qt::WindowType_Mask) | Qt::Dialog;
    window.setParent(&owner, flags);
}

void centreOver(QWidget& window, const QWidget& owner) {
    if (window.isVisible())
        return;
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize(); // the size it will show with
    const QScreen* screen = owner.screen();
    const QRect area = owner.isVisible() ? owner.frameGeometry()
                       : screen          ? screen->availableGeometry()
                                         : QRect();
    QRect wanted(QPoint(), window.frameGeometry().size().expandedTo(window.size()));
    wanted.moveCenter(area.center());
    window.move(onScreen(wanted, owner, area.center()));
}

void placeBeside(QWidget& window, const QWidget& anchor) {
    if (window.isVisible())
        return;
    const QPoint corner = anchor.mapToGlobal(QPoint(anchor.width() + 8, 0));
    window.move(onScreen(QRect(corner, window.frameGeometry().size().expandedTo(window.size())),
                         anchor, corner));
}

void bringToFront(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

void roundOptionButtons(QWidget& window) {
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

QLabel* captionFor(const QString& text, QWidget* field, QWidget* parent) {
    auto* caption = new QLabel(text, parent);
    caption->setBuddy(field);
    return caption;
}

QToolButton* pictureButton(const QString& picture, const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    const QPixmap drawn(picture);
    button->setIcon(drawn);
    button->setIconSize(drawn.size());
    button->setToolTip(name);
    button->setAccessibleName(name);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoRaise(true);
    return button;
}

namespace {

QAccessibleInterface* ownedWindowInterface(const QString&, QObject* object) {
    auto* window = qobject_cast<QWidget*>(object);
    if (!window || !window->isWindow() || window->windowType() != Qt::Dialog ||
        qobject_cast<QDialog*>(window))
        return nullptr; // Qt's own interface
    return new QAccessibleWidget(window, QAccessible::Dialog);
}

} // namespace

void presentOwnedWindowsAsDialogs() {
    QAccessible::installFactory(ownedWindowInterface);
}

QHBoxLayout* buttonRow(QPushButton* confirm, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(confirm);
    row->addWidget(cancel);
    return row;
}

} // namespace velmora
