#pragma once
// Colours as people write them elsewhere: "RRGGBB", "#RRGGBB", "#RGB" or a CSS name.

#include "core/colour/colour.h"

#include <optional>
#include <string_view>

namespace velmorant {

// Hex digits and names in either case; nothing for anything else.
std::optional<Rgb> ReadColourText(std::string_view text);

} // namespace velmorant
