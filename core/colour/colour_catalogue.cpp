#include "core/colour/colour_catalogue.h"

#include "core/colour/colour_space.h"
#include "core/colour/css_colour.h"

#include <array>

namespace velmorant {

namespace {

// Each earns its place: the one most asked for, its one-way form, a softer one for
// light backgrounds, and two warm and cool ones that stay vivid where sRGB greys.
constexpr std::array<Palette, 5> kPalettes{{
    {"rainbow", "red, red", "oklch longer hue", "every hue once, red back to red, at even lightness"},
    {"spectrum", "red, blueviolet", "oklch increasing hue", "red through yellow, green and blue to violet, not back"},
    {"pastel", "oklch(0.8 0.12 20), oklch(0.8 0.12 20)", "oklch longer hue",
     "every hue once, soft and light: for dark backgrounds"},
    {"fire", "darkred, red 30%, orange 65%, gold", "oklab", "embers to flame, for warnings and announcements"},
    {"ocean", "navy, #0077be 45%, turquoise", "oklab", "deep to shallow water, calm and readable"},
}};

// Indexed by Space and HueMethod, in their order.
constexpr std::array<std::string_view, kSpaceCount> kSpaceSummaries{{
    "each channel on its own, as the window: the middle of two bright colours can turn grey",
    "as light adds up: brighter middles than srgb",
    "as srgb, on a wide-gamut screen's colours",
    "as srgb, on Adobe RGB's colours",
    "as srgb, on a camera's very wide colours",
    "as srgb, on ultra-HD television's colours",
    "by how light, red-green and blue-yellow the colours look (CIE Lab)",
    "by how light and what hue the colours look, evenly: no grey middle",
    "as light adds up, in the eye's own measures",
    "as light adds up, in the eye's measures for paper (D50)",
    "as light adds up, in the eye's measures for screens (D65)",
    "round the colour wheel by hue, saturation and lightness",
    "round the colour wheel by hue, whiteness and blackness",
    "round the colour wheel at even lightness (CIE LCH)",
    "round the colour wheel at even lightness, the most even of all: rainbow-like",
}};
constexpr std::array<std::string_view, 4> kHueSummaries{{
    "the short way round the hues",
    "rainbow-like: the long way round the hues",
    "always up the hue wheel (red, yellow, green, blue)",
    "always down the hue wheel (red, violet, blue, green)",
}};

} // namespace

std::string_view BlendSummary(Space space) { return kSpaceSummaries[static_cast<std::size_t>(space)]; }
std::string_view HueMethodSummary(HueMethod method) { return kHueSummaries[static_cast<std::size_t>(method)]; }

std::span<const Palette> Palettes() { return kPalettes; }

const Palette* FindPalette(std::string_view name) {
    for (const Palette& palette : kPalettes)
        if (palette.name == name)
            return &palette;
    return nullptr;
}

bool ApplyPalette(std::string_view name, Gradient& gradient) {
    const Palette* palette = FindPalette(name);
    std::string_view bad;
    if (!palette || !ReadStops(palette->stops, gradient, bad))
        return false;
    gradient.blend = ReadBlend(palette->blend).value_or(Blend::Srgb);
    return true;
}

std::vector<std::string_view> BlendNames() {
    std::vector<std::string_view> names;
    for (int s = 0; s < kSpaceCount; ++s)
        names.push_back(SpaceName(static_cast<Space>(s)));
    return names;
}

std::vector<std::string_view> HueMethodNames() {
    return {HueMethodName(HueMethod::Shorter), HueMethodName(HueMethod::Longer), HueMethodName(HueMethod::Increasing),
            HueMethodName(HueMethod::Decreasing)};
}

} // namespace velmorant
