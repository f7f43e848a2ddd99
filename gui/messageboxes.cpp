#include "gui/messageboxes.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>

namespace velmora {
namespace {

QMessageBox::Icon boxIcon(Messages::Icon icon) {
    switch (icon) {
    case Messages::Icon::Exclamation:
        return QMessageBox::Warning;
    case Messages::Icon::Critical:
        return QMessageBox::Critical;
    case Messages::Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QStyle::StandardPixmap iconPixmap(Messages::Icon icon) {
    switch (icon) {
    case Messages::Icon::Exclamation:
        return QStyle::SP_MessageBoxWarning;
    case Messages::Icon::Critical:
        return QStyle::SP_MessageBoxCritical;
    case Messages::Icon::Information:
        return QStyle::SP_MessageBoxInformation;
    }
    return QStyle::SP_MessageBoxInformation;
}

// A text longer than this many lines or characters is shown in a box that scrolls.
constexpr int kShortLines = 20;
constexpr int kShortCharacters = 1200;

// Read-only text that scrolls, no taller than `maxHeight`.
QPlainTextEdit* scrollingText(const QString& text, int maxHeight, QWidget* parent) {
    auto* view = new QPlainTextEdit(parent);
    view->setReadOnly(true);
    view->setPlainText(text);
    view->setMinimumWidth(460);
    view->setMaximumHeight(maxHeight);
    return view;
}

} // namespace

// A message box that fits the screen whatever its text: a long text scrolls, and the detail
// shows on demand in a scrolling box of its own.
void MessageBoxes::show(const QString& text, Icon icon, const QString& title,
                        const QString& detail) {
    QWidget* owner = QApplication::activeWindow();
    QDialog box(owner);
    box.setWindowTitle(title);
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const int screenHeight = screen ? screen->availableGeometry().height() : 600;
    auto* layout = new QGridLayout(&box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* picture = new QLabel(&box);
    const int iconSize = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    picture->setPixmap(box.style()->standardIcon(iconPixmap(icon)).pixmap(iconSize));
    layout->addWidget(picture, 0, 0, Qt::AlignTop);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown.count(u'\n') < kShortLines && shown.size() <= kShortCharacters) {
        auto* label = new QLabel(shown, &box);
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label, 0, 1);
    } else {
        layout->addWidget(scrollingText(shown, screenHeight * 2 / 5, &box), 0, 1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons, 2, 0, 1, 2);
    if (!detail.isEmpty()) {
        QString lines = detail;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        auto* details = scrollingText(lines, screenHeight * 2 / 5, &box);
        details->setObjectName(QStringLiteral("detail"));
        details->hide();
        layout->addWidget(details, 1, 0, 1, 2);
        auto* toggle =
            buttons->addButton(QStringLiteral("Dettagli..."), QDialogButtonBox::ActionRole);
        QObject::connect(toggle, &QPushButton::clicked, details,
                         [details] { details->setVisible(!details->isVisible()); });
    }
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
    box.exec();
}

bool MessageBoxes::ask(const QString& text, Icon icon, bool defaultNo, const QString& detail) {
    QMessageBox box(boxIcon(icon), kAppTitle,
                    QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    if (!detail.isEmpty())
        box.setDetailedText(QString(detail).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    return box.exec() == QMessageBox::Yes;
}

bool DesktopShell::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace velmora
