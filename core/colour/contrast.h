#pragma once
// How well a colour reads on a background: WCAG 2's contrast ratio and APCA's
// lightness contrast Lc, and the least change of lightness that makes a colour
// readable, for the places whose background is known.

#include "core/colour/colour.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmorant {

// WCAG 2's relative luminance of an 8-bit sRGB colour, 0 for black to 1 for white.
double RelativeLuminance(Rgb colour);
// WCAG 2's contrast ratio (L1 + 0.05) / (L2 + 0.05), lighter over darker: 1 to 21.
double ContrastRatio(Rgb a, Rgb b);
// APCA's Lc of text on a background (0.0.98G-4g constants): positive for dark text
// on light, negative for light on dark, about -108 to 106; 0 for near-equal colours.
double ApcaLc(Rgb text, Rgb background);

// What --readable asks for: WCAG AA or AAA, or an APCA Lc.
struct ReadableGoal {
    enum class Kind { Aa, Aaa, Apca };
    Kind kind = Kind::Aa;
    double lc = 60; // Apca: the least |Lc|
    friend bool operator==(const ReadableGoal&, const ReadableGoal&) = default;
};
// "aa", "aaa", "apca-60" (an Lc of 1 to 106); empty reads as "aa".
std::optional<ReadableGoal> ReadReadableGoal(std::string_view text);
std::string ReadableGoalText(const ReadableGoal& goal);

// The figure a unit must reach: a ratio for WCAG, an |Lc| for APCA. WCAG asks
// 4.5:1 (AA) or 7:1 (AAA) of body text and 3:1 or 4.5:1 of large text.
struct ContrastTarget {
    bool apca = false;
    double level = 4.5;
    friend bool operator==(const ContrastTarget&, const ContrastTarget&) = default;
};
ContrastTarget TargetOf(const ReadableGoal& goal, bool largeText);
// The target's own measure of colour on background: the ratio or |Lc|.
double ContrastScore(const ContrastTarget& target, Rgb colour, Rgb background);
inline bool MeetsTarget(const ContrastTarget& target, Rgb colour, Rgb background) {
    return ContrastScore(target, colour, background) >= target.level;
}

// The colour with its Oklch lightness moved by the least that meets the target,
// hue kept and chroma kept as far as sRGB allows; unchanged when it already meets
// it. Where neither way reaches the target, the end (black or white) that comes
// closest.
Rgb MakeReadable(Rgb colour, Rgb background, const ContrastTarget& target);

// A colour filter a gradient may carry: every colour made readable on background.
struct ReadableFilter {
    Rgb background;
    ContrastTarget target;
    friend bool operator==(const ReadableFilter&, const ReadableFilter&) = default;
};

} // namespace velmorant
