#pragma once
// The blends and named palettes every front end lists: one table each, so that
// --help, completion, the manual and the page say the same.

#include "core/colour/gradient_stops.h"

#include <span>
#include <string_view>
#include <vector>

namespace velmorant {

struct Palette {
    std::string_view name;
    std::string_view stops; // as --colours takes them
    std::string_view blend; // as --blend takes it
    std::string_view description;
};

std::span<const Palette> Palettes();
const Palette* FindPalette(std::string_view name);
// The palette as a gradient; false for an unknown name.
bool ApplyPalette(std::string_view name, Gradient& gradient);

// CSS's interpolation spaces and hue methods, by name, in the order they are listed.
std::vector<std::string_view> BlendNames();
std::vector<std::string_view> HueMethodNames();

// What a space or a hue method does, in words a forum poster knows.
std::string_view BlendSummary(Space space);
std::string_view HueMethodSummary(HueMethod method);

} // namespace velmorant
