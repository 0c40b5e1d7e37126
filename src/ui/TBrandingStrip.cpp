#include "TBrandingStrip.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>

TBrandingStrip::TBrandingStrip(QWidget *AParent) : QFrame(AParent), FLabel(new QLabel(this)) {
    setObjectName(QStringLiteral("rectBrand"));
    FLabel->setObjectName(QStringLiteral("lblBrand"));
    FLabel->setAlignment(Qt::AlignCenter);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(FLabel);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Clear();
}

void TBrandingStrip::SetStrip(const QColor &AFill, const QColor &AStroke, const QColor &ATextColor,
                              const QString &AText) {
    FFill = AFill;
    FStroke = AStroke;
    FTextColor = ATextColor;
    FLabel->setPixmap(QPixmap());
    FLabel->setText(AText.trimmed());
    QPalette palette = FLabel->palette();
    palette.setColor(QPalette::WindowText, ATextColor);
    FLabel->setPalette(palette);
    FConfigured = !FLabel->text().isEmpty();
    setVisible(FConfigured);
    update();
}

void TBrandingStrip::SetBanner(const QPixmap &AImage, const QColor &ABackground) {
    FFill = ABackground;
    FStroke = QColor(Qt::transparent);
    FLabel->setText(QString());
    FLabel->setPixmap(AImage);
    FConfigured = !AImage.isNull();
    setVisible(FConfigured);
    update();
}

void TBrandingStrip::SetBanner(const QImage &AImage, const QColor &ABackground) {
    SetBanner(QPixmap::fromImage(AImage), ABackground);
}

void TBrandingStrip::Clear() {
    FFill = FStroke = FTextColor = QColor();
    FLabel->clear();
    FConfigured = false;
    hide();
}

QString TBrandingStrip::Text() const {
    return FLabel->text();
}

QSize TBrandingStrip::sizeHint() const {
    const QSize inner = FLabel->sizeHint();
    return {inner.width() + 12, qMax(inner.height() + 4, 20)};
}

void TBrandingStrip::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect area = rect().adjusted(0, 0, -1, -1);
    if (FFill.isValid())
        painter.fillRect(rect(), FFill);
    if (FStroke.isValid() && FStroke.alpha() > 0) {
        painter.setPen(FStroke);
        painter.drawRect(area);
    }
}
