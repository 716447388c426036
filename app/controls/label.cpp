#include "app/controls/label.h"

#include "app/controls/colour_value.h"
#include "app/controls/mouse_buttons.h"

namespace velmorant {

Label::Label(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true); // moves arrive without a button held
    setTextFormat(Qt::PlainText);
}

void Label::SetForeColor(PackedRgb colour) {
    foreColor_ = colour;
    // A widget's own style sheet wins over the application's, so the skin
    // cannot repaint this colour. Setting it also re-polishes the label, so
    // skin rules that select on foreColor follow the new colour.
    setStyleSheet(QStringLiteral("color: %1;").arg(ToQColor(colour).name()));
}

QString Label::ForeColorName() const { return foreColor_ < 0 ? QString() : ToQColor(foreColor_).name(); }

void Label::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(ButtonSet(event->buttons()));
    QLabel::mousePressEvent(event);
}

void Label::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit click();
    QLabel::mouseReleaseEvent(event);
}

void Label::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove(ButtonSet(event->buttons()));
    event->accept(); // a move over the label is the label's, not its container's
}

} // namespace velmorant
