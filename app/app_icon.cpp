#include "app/app_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace velmorant {

QImage AppIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/velmorant/app_icon.svg"));
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {48, 128, 256})
        icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    return icon;
}

} // namespace velmorant
