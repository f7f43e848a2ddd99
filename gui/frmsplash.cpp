#include "gui/frmsplash.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSysInfo>
#include <QVBoxLayout>

namespace velmora {
namespace {

const QColor kInk(28, 52, 94);
const QColor kPaper(250, 250, 247);
const QColor kAccent(150, 28, 36);

// A certificate sheet with its ruled lines and a round stamp.
QPixmap certificatePicture() {
    QPixmap pixmap(150, 190);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(QRectF(14, 14, 128, 170), 4, 4);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(8, 8, 128, 170), 4, 4);
    p.fillRect(QRectF(8.75, 8.75, 126.5, 22), kInk);
    p.setPen(QPen(QColor(170, 178, 192), 2));
    for (int line = 0; line < 9; ++line) {
        const qreal y = 46 + line * 12;
        p.drawLine(QPointF(22, y), QPointF(line % 3 == 2 ? 84 : 122, y));
    }
    p.setPen(QPen(kAccent, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(104, 150), 18, 18);
    p.setPen(QPen(kAccent, 1.5));
    p.drawEllipse(QPointF(104, 150), 12, 12);
    return pixmap;
}

// A small monogram: a V on a round badge.
QPixmap logoPicture() {
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QRectF(2, 2, 44, 44));
    QPainterPath v;
    v.moveTo(13, 14);
    v.lineTo(24, 36);
    v.lineTo(35, 14);
    p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(v);
    return pixmap;
}

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
    return QStringLiteral("Versione %1.%2.%3")
        .arg(VELMORA_VERSION_MAJOR)
        .arg(VELMORA_VERSION_MINOR)
        .arg(VELMORA_VERSION_PATCH);
}

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(Frame1);

    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(18, 18, 18, 14);
    grid->setHorizontalSpacing(24);
    Image1 = new QLabel(Frame1);
    Image1->setPixmap(certificatePicture());
    imgLogo = new QLabel(Frame1);
    imgLogo->setPixmap(logoPicture());

    lblProductName = line(QStringLiteral("ORV-VELMORA"), Frame1, 10);
    QFont title = lblProductName->font();
    title.setBold(true);
    lblProductName->setFont(title);
    QPalette ink = lblProductName->palette();
    ink.setColor(QPalette::WindowText, kInk);
    lblProductName->setPalette(ink);
    lblVersion = line(versionCaption(), Frame1, 1);
    lblPurpose =
        line(QStringLiteral("Richiesta massiva di certificati del casellario giudiziale"), Frame1);
    lblPrivacy = line(QStringLiteral("I dati dei soggetti sono dati personali: trattarli "
                                     "secondo il Regolamento (UE) 2016/679."),
                      Frame1, -1);
    lblPlatform = line(QSysInfo::prettyProductName(), Frame1, -1);
    lblToolkit = line(QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())), Frame1, -1);
    lblWarning = line(QString(), Frame1, -1);
    Command1 = new QPushButton(QStringLiteral("Entra"), Frame1);
    Command1->setFocusPolicy(Qt::NoFocus);
    Command1->setMinimumWidth(100);

    auto* heading = new QHBoxLayout;
    heading->setSpacing(12);
    heading->addWidget(imgLogo);
    heading->addWidget(lblProductName, 1);
    auto* text = new QVBoxLayout;
    text->addLayout(heading);
    text->addWidget(lblVersion);
    text->addSpacing(10);
    text->addWidget(lblPurpose);
    text->addSpacing(4);
    text->addWidget(lblPrivacy);
    text->addStretch();
    text->addSpacing(10);
    text->addWidget(lblPlatform);
    text->addWidget(lblToolkit);
    text->addWidget(lblWarning);
    grid->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    grid->addLayout(text, 0, 1);
    grid->addWidget(Command1, 1, 1, Qt::AlignRight | Qt::AlignBottom);
    setFixedWidth(520);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    event->accept(); // keys do nothing here
}

} // namespace velmora
