#include "app/controls/line_control.h"

#include "app/controls/colour_value.h"

#include <QPainter>

namespace velmorant {

LineControl::LineControl(QWidget* container, QLine line, PackedRgb borderColor)
    : QWidget(container), line_(line), borderColor_(borderColor) {
    const QRect bounds = QRect(line.p1(), line.p2()).normalized();
    setGeometry(bounds.adjusted(0, 0, 1, 1));
    setAttribute(Qt::WA_TransparentForMouseEvents); // the container keeps its mouse moves
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(ToQColor(borderColor_), 1));
    painter.drawLine(line_.translated(-pos()));
}

} // namespace velmorant
