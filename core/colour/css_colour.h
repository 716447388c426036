#pragma once
// Colours, colour stops and blends as CSS writes them: "red", "#ff000080",
// "rgb(255 0 0)", "oklch(70% 0.2 120)", "color(display-p3 1 0 0)", lists such as
// "red, blue 30%, lime" with CSS's rules for the positions left out, and what
// follows "in " in color-mix(): "oklch longer hue".

#include "core/colour/gradient.h"
#include "core/colour/mixing.h"
#include "core/colour/spaces.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmorant {

struct CssColour {
    SpaceColour colour;
    // Exactly an 8-bit sRGB colour with nothing missing: the window's rule can take it.
    bool plain = false;
};

// Any fixed CSS colour, plus "RRGGBB" without the "#" as the window reads it. Alpha
// is read and left out: forum colours are opaque.
std::optional<CssColour> ReadCssColour(std::string_view text);

// Comma-separated stops, each a colour and an optional position in percent. The
// stops, the exact colours (when any is not plain) and the fixed-up positions (when
// any was given and they are not the equal spacing) go into gradient; its blend
// stays. On failure, bad is the stop that could not be read, or null (no data) for
// too few stops.
bool ReadStops(std::string_view text, Gradient& gradient, std::string_view& bad);

// CSS's fix-up of stop positions: a missing first is 0 and last 1, one smaller than
// an earlier one is raised to it, and missing ones spread evenly between neighbours.
std::vector<double> FixPositions(const std::vector<std::optional<double>>& given);

// "oklch", "oklch longer hue", "srgb": nothing for anything CSS would not take
// after "in " in color-mix().
std::optional<Blend> ReadBlend(std::string_view text);
// The text ReadBlend reads back; the hue method only when not the default.
std::string BlendText(const Blend& blend);

} // namespace velmorant
