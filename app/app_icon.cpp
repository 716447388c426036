#include "app/app_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velmorant {

namespace {

QPixmap IconImage(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x22, 0x2A));
    painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    // The start and end colours the window opens with.
    QLinearGradient gradient(0, 0, s, 0);
    gradient.setColorAt(0, QColor(255, 0, 255));
    gradient.setColorAt(1, QColor(0, 255, 0));
    QPainterPath v;
    v.moveTo(s * 0.16, s * 0.20);
    v.lineTo(s * 0.36, s * 0.20);
    v.lineTo(s * 0.50, s * 0.62);
    v.lineTo(s * 0.64, s * 0.20);
    v.lineTo(s * 0.84, s * 0.20);
    v.lineTo(s * 0.60, s * 0.82);
    v.lineTo(s * 0.40, s * 0.82);
    v.closeSubpath();
    painter.setBrush(gradient);
    painter.drawPath(v);
    return pixmap;
}

} // namespace

QIcon AppIcon() {
    QIcon icon;
    for (int size : {48, 128, 256})
        icon.addPixmap(IconImage(size));
    return icon;
}

} // namespace velmorant
