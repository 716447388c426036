#include "core/colour/palettes.h"

#include "core/colour/css_colour.h"

namespace velmorant {

namespace {

// Each earns its place: the one most asked for, its one-way form, a softer one for
// light backgrounds, and two warm and cool ones that stay vivid where sRGB greys.
constexpr Palette kPalettes[] = {
    {"rainbow", "red, red", "oklch longer hue", "every hue once, red back to red, at even lightness"},
    {"spectrum", "red, blueviolet", "oklch increasing hue", "red through yellow, green and blue to violet, not back"},
    {"pastel", "oklch(0.8 0.12 20), oklch(0.8 0.12 20)", "oklch longer hue",
     "every hue once, soft and light: for dark backgrounds"},
    {"fire", "darkred, red 30%, orange 65%, gold", "oklab", "embers to flame, for warnings and announcements"},
    {"ocean", "navy, #0077be 45%, turquoise", "oklab", "deep to shallow water, calm and readable"},
};

} // namespace

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

} // namespace velmorant
