#pragma once

#include "core/colour/colour.h"

#include <QColor>

namespace velmorant {

// Qt's colours to and from the core's packed 0xRRGGBB.
inline QColor ToQColor(PackedRgb value) { return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF); }
inline PackedRgb ToPackedRgb(const QColor& colour) {
    return Pack({Channel(colour.red()), Channel(colour.green()), Channel(colour.blue())});
}

} // namespace velmorant
