#pragma once
// Positions in the control tables are twips: 15 to a logical pixel. Qt scales
// logical pixels for high-DPI screens itself.

#include <QRect>

namespace velmorant {

inline constexpr int TwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) { return twips / TwipsPerPixel; }

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

} // namespace velmorant
