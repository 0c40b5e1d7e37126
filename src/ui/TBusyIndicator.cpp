#include "TBusyIndicator.h"

#include <QPainter>

namespace {
constexpr int DotCount = 12;
}

TBusyIndicator::TBusyIndicator(QWidget *AParent) : QWidget(AParent) {
    setObjectName(QStringLiteral("aniBusy"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    FTimer.setInterval(80);
    connect(&FTimer, &QTimer::timeout, this, [this] {
        FStep = (FStep + 1) % DotCount;
        update();
    });
    hide();
}

void TBusyIndicator::Start() {
    if (!FTimer.isActive())
        FTimer.start();
    show();
    raise();
}

void TBusyIndicator::Stop() {
    FTimer.stop();
    if (FHideWhenStopped)
        hide();
    update();
}

void TBusyIndicator::SetHideWhenStopped(bool AHide) {
    FHideWhenStopped = AHide;
    if (AHide && !IsBusy())
        hide();
}

void TBusyIndicator::paintEvent(QPaintEvent *) {
    if (!IsBusy())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height());
    if (side < 8)
        return;
    painter.translate(width() / 2.0, height() / 2.0);
    const qreal radius = side / 2.0 * 0.7;
    const qreal dot = qMax(2.0, side / 10.0);
    QColor color = palette().color(QPalette::WindowText);
    for (int i = 0; i < DotCount; ++i) {
        // The dot at the current step is darkest; the tail fades out behind it.
        const int age = (FStep - i + DotCount) % DotCount;
        color.setAlphaF(1.0 - qreal(age) / DotCount * 0.85);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.save();
        painter.rotate(360.0 * i / DotCount);
        painter.drawEllipse(QPointF(0, -radius), dot / 2, dot / 2);
        painter.restore();
    }
}
