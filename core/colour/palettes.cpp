#include "core/colour/palettes.h"

#include "core/colour/css_colour.h"

namespace velmorant {

namespace {

// Each earns its place: the one most asked for, its one-way form, a softer one,
// and two warm and cool ones that stay vivid where sRGB greys. Each is made for a
// light or a dark background, and reads on it at 4.5:1 or more everywhere along.
constexpr Rgb kLight{255, 255, 255}, kDark{0x1E, 0x1E, 0x1E};
constexpr Palette kPalettes[] = {
    {"rainbow",
     "oklch(0.72 0.16 30), oklch(0.72 0.16 30)",
     "oklch longer hue",
     "every hue once, red back to red, at even lightness: for dark backgrounds",
     {"Rainbow", "彩虹"},
     {{}, "每种色相一次，从红回到红，亮度均匀：适合深色背景"},
     kDark},
    {"spectrum",
     "oklch(0.5 0.2 29), oklch(0.5 0.2 300)",
     "oklch increasing hue",
     "red through yellow, green and blue to violet, not back: for light backgrounds",
     {"Spectrum", "光谱"},
     {{}, "从红经黄、绿、蓝到紫，不回头：适合浅色背景"},
     kLight},
    {"pastel",
     "oklch(0.8 0.12 20), oklch(0.8 0.12 20)",
     "oklch longer hue",
     "every hue once, soft and light: for dark backgrounds",
     {"Pastel", "粉彩"},
     {{}, "每种色相一次，柔和明亮：适合深色背景"},
     kDark},
    {"fire",
     "darkred, #c00000 30%, #b34700 65%, #8f5f00",
     "oklab",
     "embers to flame, for warnings and announcements on light backgrounds",
     {"Fire", "火焰"},
     {{}, "从余烬到火焰，适合浅色背景上的警告和公告"},
     kLight},
    {"ocean",
     "navy, #0077be 45%, teal",
     "oklab",
     "deep to shallow water, calm and readable on light backgrounds",
     {"Ocean", "海洋"},
     {{}, "从深海到浅水，平静，在浅色背景上易读"},
     kLight},
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
