#pragma once
// Named palettes: lists of colours offered by name.

#include <span>
#include <string_view>

namespace velmorant {

struct PaletteName {
    std::string_view name;
    std::string_view colours; // as --colours takes them
};

std::span<const PaletteName> PaletteNames();

} // namespace velmorant
