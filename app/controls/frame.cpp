#include "app/controls/frame.h"

#include "app/controls/mouse_buttons.h"

namespace velmorant {

void Frame::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove(ButtonSet(event->buttons()));
    event->accept(); // the window beneath does not see it again
}

} // namespace velmorant
