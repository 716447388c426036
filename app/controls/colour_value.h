#pragma once

#include "core/colour/colour.h"

#include <QColor>

namespace velmorant {

// Colour values keep red in the low byte.
inline QColor ToQColor(ColourValue value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

inline ColourValue ToColourValue(const QColor& colour) {
    return colour.red() + 256 * colour.green() + 65536 * colour.blue();
}

} // namespace velmorant
