#include "preview/gradient_strip.h"

namespace velmorant {

std::array<ColourValue, GradientStripLines> GradientStripColours(const ColourPair& colours) {
    std::array<ColourValue, GradientStripLines> lines{};
    for (int i = 0; i < GradientStripLines; ++i)
        lines[i] = ToColourValue(BlendAt(colours, i, GradientStripLines - 1));
    return lines;
}

} // namespace velmorant
