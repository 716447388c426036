#pragma once

#include "core/colour/colour.h"

#include <array>

namespace velmorant {

inline constexpr int GradientStripLines = 256;

// Line i of the strip is the pair blended at i of 255 (the code's rule and engine):
// start at 0, end at 255.
std::array<PackedRgb, GradientStripLines> GradientStripColours(const ColourPair& colours);

} // namespace velmorant
