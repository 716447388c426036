#pragma once
// The named palettes every front end lists: one table, so that --help,
// completion, the manual and the page say the same.

#include "core/colour/gradient.h"
#include "core/text/words.h"

#include <span>
#include <string_view>

namespace velmorant {

struct Palette {
    std::string_view name;
    std::string_view stops; // as --colours takes them
    std::string_view blend; // as --blend takes it
    std::string_view description;
    Words caption, help; // the page's; help.en empty: the description says it
    Rgb background;      // what it is made for: on it, every colour reaches WCAG AA
};

std::span<const Palette> Palettes();
const Palette* FindPalette(std::string_view name);
// The palette as a gradient; false for an unknown name.
bool ApplyPalette(std::string_view name, Gradient& gradient);

} // namespace velmorant
