#pragma once

#include <QMouseEvent>

#include <cstdint>

namespace velmorant {

// The set of buttons held down: 1 left, 2 right, 4 middle, 0 none.
inline std::int16_t ButtonSet(Qt::MouseButtons buttons) {
    std::int16_t set = 0;
    if (buttons & Qt::LeftButton)
        set |= 1;
    if (buttons & Qt::RightButton)
        set |= 2;
    if (buttons & Qt::MiddleButton)
        set |= 4;
    return set;
}

} // namespace velmorant
