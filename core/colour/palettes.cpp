#include "core/colour/palettes.h"

#include "core/colour/css_colour.h"

namespace velmorant {

namespace {

// Each earns its place: the one most asked for, its one-way form, a softer one for
// light backgrounds, and two warm and cool ones that stay vivid where sRGB greys.
constexpr Palette kPalettes[] = {
    {"rainbow",
     "red, red",
     "oklch longer hue",
     "every hue once, red back to red, at even lightness",
     {"Rainbow", "彩虹"},
     {{}, "每种色相一次，从红回到红，亮度均匀"}},
    {"spectrum",
     "red, blueviolet",
     "oklch increasing hue",
     "red through yellow, green and blue to violet, not back",
     {"Spectrum", "光谱"},
     {{}, "从红经黄、绿、蓝到紫，不回头"}},
    {"pastel",
     "oklch(0.8 0.12 20), oklch(0.8 0.12 20)",
     "oklch longer hue",
     "every hue once, soft and light: for dark backgrounds",
     {"Pastel", "粉彩"},
     {{}, "每种色相一次，柔和明亮：适合深色背景"}},
    {"fire",
     "darkred, red 30%, orange 65%, gold",
     "oklab",
     "embers to flame, for warnings and announcements",
     {"Fire", "火焰"},
     {{}, "从余烬到火焰，适合警告和公告"}},
    {"ocean",
     "navy, #0077be 45%, turquoise",
     "oklab",
     "deep to shallow water, calm and readable",
     {"Ocean", "海洋"},
     {{}, "从深海到浅水，平静易读"}},
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
