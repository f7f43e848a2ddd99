#include "gui/splashscreen.h"

#include "gui/widgets/widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace velmora {
namespace {

const QColor kInk(28, 52, 94);

QLabel* line(const QString& text, QWidget* parent, int pointDelta = 0) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + pointDelta);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

} // namespace

QString versionCaption() {
    return QStringLiteral("Versione " VELMORA_VERSION);
}

SplashScreen::SplashScreen() : QWidget(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint) {
    setBackground(*this, 0xFFFFFF);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(frame);

    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(18, 18, 18, 14);
    grid->setHorizontalSpacing(24);
    auto* certificate = new QLabel(frame);
    certificate->setPixmap(QPixmap(QStringLiteral(":/icons/certificate.png")));
    auto* logo = new QLabel(frame);
    logo->setPixmap(QPixmap(QStringLiteral(":/icons/logo.png")));

    QLabel* productName = line(QStringLiteral("ORV-VELMORA"), frame, 10);
    QFont title = productName->font();
    title.setBold(true);
    productName->setFont(title);
    QPalette ink = productName->palette();
    ink.setColor(QPalette::WindowText, kInk);
    productName->setPalette(ink);
    auto* enterButton = named(new QPushButton(QStringLiteral("&Entra"), frame), "enterButton");
    enterButton->setFocusPolicy(Qt::NoFocus);
    enterButton->setMinimumWidth(100);

    auto* heading = new QHBoxLayout;
    heading->setSpacing(12);
    heading->addWidget(logo);
    heading->addWidget(productName, 1);
    auto* text = new QVBoxLayout;
    text->addLayout(heading);
    text->addWidget(line(versionCaption(), frame, 1));
    text->addSpacing(10);
    text->addWidget(
        line(QStringLiteral("Richiesta massiva di certificati del casellario giudiziale"), frame));
    text->addSpacing(4);
    text->addWidget(line(QStringLiteral("I dati dei soggetti sono dati personali: trattarli "
                                        "secondo il Regolamento (UE) 2016/679."),
                         frame, -1));
    text->addStretch();
    text->addSpacing(10);
    text->addWidget(line(QSysInfo::prettyProductName(), frame, -1));
    text->addWidget(line(QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())), frame, -1));
    grid->addWidget(certificate, 0, 0, 2, 1, Qt::AlignTop);
    grid->addLayout(text, 0, 1);
    grid->addWidget(enterButton, 1, 1, Qt::AlignRight | Qt::AlignBottom);
    setFixedWidth(520);
    connect(enterButton, &QPushButton::clicked, this, &QWidget::close);
}

void SplashScreen::keyPressEvent(QKeyEvent* event) {
    event->accept(); // keys do nothing here
}

} // namespace velmora
