#pragma once
// Colours, colour stops and blends as CSS writes them: "red", "#ff000080",
// "rgb(255 0 0)", "oklch(70% 0.2 120)", "color(display-p3 1 0 0)", lists such as
// "red, blue 30%, lime" with CSS's rules for the positions left out, and what
// follows "in " in color-mix(): "oklch longer hue".

#include "core/colour/gradient.h"
#include "core/colour/mixing.h"
#include "core/colour/spaces.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmorant {

struct CssColour {
    SpaceColour colour;
    // Exactly an 8-bit sRGB colour with nothing missing: the window's rule can take it.
    bool plain = false;
};

// Why a colour text gives no colour.
enum class ColourProblem {
    None,
    NotColour,   // CSS reads no colour there, or none this reader takes
    Translucent, // alpha under 1: forum colours are opaque
    NotFixed,    // currentcolor or a system colour: no colour of its own
};

struct ColourRead {
    std::optional<CssColour> colour;
    ColourProblem problem = ColourProblem::NotColour;
};

// A colour text read as a browser reads a CSS colour (comments, escapes, calc() of
// constants, relative "from" colours, a bracket left open at the end), plus "RRGGBB"
// without the "#" as the window reads it; only opaque colours are taken.
ColourRead ReadColour(std::string_view text);
std::optional<CssColour> ReadCssColour(std::string_view text);

// The most stops one list may hold. A gradient someone edits has a handful, and a
// code read back needs one where its colours bend, a few hundred for the longest
// gradient Velmorant writes; past this a list is refused before it is read, so a
// list of millions of commas costs no more than this many stops.
inline constexpr std::size_t kMaxStops = 4096;

enum class StopsProblem {
    None,
    NotStop,   // a stop whose colour or position cannot be read
    OneColour, // fewer than two stops
    TooMany,   // more than kMaxStops
};

// One stop of a list as written.
struct StopRow {
    std::string_view text;                            // trimmed
    std::string_view colour;                          // its colour's text
    std::optional<double> position;                   // given, as a fraction (50% is 0.5)
    std::optional<CssColour> read;                    // the colour, when it can be read
    ColourProblem problem = ColourProblem::NotColour; // else why not
};

// A list split at the commas outside parentheses, in one pass, every stop read.
struct StopList {
    std::vector<StopRow> rows; // up to kMaxStops + 1: the rest is not split
    std::vector<double> at;    // where CSS places each row: FixPositions of those given
    StopsProblem problem = StopsProblem::None;
    std::size_t bad = 0; // NotStop: the first row that cannot be read
};
StopList ReadStopList(std::string_view text);

// Comma-separated stops, each a colour and an optional position in percent. The
// stops, the exact colours (when any is not plain) and the fixed-up positions (when
// any was given and they are not the equal spacing) go into gradient; its blend
// stays. On failure nothing changes, and bad is the stop that could not be read, or
// null (no data) for too few or too many stops.
bool ReadStops(std::string_view text, Gradient& gradient, std::string_view& bad);

// The rows of a list without a problem become the gradient's stops, as ReadStops.
void UseStops(const StopList& list, Gradient& gradient);

// CSS's fix-up of stop positions: a missing first is 0 and last 1, one smaller than
// an earlier one is raised to it, and missing ones spread evenly between neighbours.
std::vector<double> FixPositions(const std::vector<std::optional<double>>& given);

// "oklch", "oklch longer hue", "srgb": nothing for anything CSS would not take
// after "in " in color-mix().
std::optional<Blend> ReadBlend(std::string_view text);
// The text ReadBlend reads back; the hue method only when not the default.
std::string BlendText(const Blend& blend);

} // namespace velmorant
