#include "preview/gradient_strip.h"

#include "core/colour/gradient.h"

namespace velmorant {

std::array<PackedRgb, GradientStripLines> GradientStripColours(const ColourPair& colours) {
    std::array<PackedRgb, GradientStripLines> lines{};
    GradientWalker walker({{colours.start, colours.end}, Blend::Srgb}, 1, GradientStripLines - 1, 0);
    for (int i = 0; i < GradientStripLines; ++i) {
        walker.MoveTo(i);
        lines[i] = Pack(walker.Colour());
    }
    return lines;
}

} // namespace velmorant
