#include "gui/widgets/findbar.h"

#include "gui/widgets/widgets.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace velmora {

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
    findEdit = named(new QLineEdit(this), "findEdit");
    findEdit->setAccessibleDescription(
        QStringLiteral("cognome, nome o codice fiscale; F3 il successivo, Maiuscole+F3 il "
                       "precedente, Esc chiude"));
    notFoundLabel = named(new QLabel(this), "notFoundLabel");
    auto* closeButton = named(new QToolButton(this), "closeFindButton");
    closeButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    closeButton->setAccessibleName(QStringLiteral("Chiudi la ricerca"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(captionFor(QStringLiteral("Tro&va:"), findEdit, this));
    row->addWidget(findEdit, 1);
    row->addWidget(notFoundLabel);
    row->addWidget(closeButton);
    connect(findEdit, &QLineEdit::textEdited, this, &FindBar::textEdited);
    connect(closeButton, &QToolButton::clicked, this, &FindBar::dismiss);
    hide();
}

void FindBar::open() {
    show();
    findEdit->setFocus(Qt::ShortcutFocusReason);
    findEdit->selectAll();
}

QString FindBar::text() const {
    return findEdit->text();
}

void FindBar::showFound(bool found) {
    notFoundLabel->setText(found || findEdit->text().trimmed().isEmpty()
                               ? QString()
                               : QStringLiteral("Nessun soggetto trovato"));
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        dismiss();
    else
        QWidget::keyPressEvent(event);
}

void FindBar::dismiss() {
    hide();
    Q_EMIT closed();
}

} // namespace velmora
