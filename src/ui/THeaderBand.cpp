#include "ui/THeaderBand.h"

#include <QColor>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPalette>

void THeaderBand::ApplyWindowBackground(QWidget *AWindow) {
    AWindow->setAutoFillBackground(true);
    QPalette pal = AWindow->palette();
    pal.setColor(QPalette::Window, QColor::fromRgba(0xFFF0F0F0));
    AWindow->setPalette(pal);
}

QFrame *THeaderBand::Create(QWidget *AParent, const QMargins &AMargins, QGridLayout **ALayout) {
    auto *band = new QFrame(AParent);
    band->setObjectName(QStringLiteral("pnlHeader"));
    band->setStyleSheet(QStringLiteral("QFrame#pnlHeader { background: black; }"));
    auto *layout = new QGridLayout(band);
    layout->setContentsMargins(AMargins);
    if (ALayout)
        *ALayout = layout;
    return band;
}

QLabel *THeaderBand::CreateLabel(const QString &AText, QWidget *AParent, qreal AScale, bool ABold,
                                 const char *AColor) {
    auto *label = new QLabel(AText, AParent);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * AScale);
    f.setBold(ABold);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(QLatin1String(AColor)));
    return label;
}
