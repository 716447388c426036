#pragma once
// The gradient code: every unit of the trimmed text framed by the template in
// its own colour, raw units untagged. One unit loop writes into a MarkupSink.

#include "core/colour/gradient.h"
#include "core/markup/markup_sink.h"
#include "core/markup/output_shape.h"
#include "core/text/units.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmorant {

// The text without its blanks at either end, its length n and the step k taken
// from the step text: what the units and any colour rule are worked out from.
struct GradientText {
    std::u16string_view text;
    std::int32_t length = 0; // in char16s, or in clusters when units hold whole clusters
    std::int32_t step = 1;
    UnitRule rule = {};
};

// Throws std::length_error when the trimmed text is too long for 32-bit positions.
GradientText PrepareGradientText(std::u16string_view input, std::u16string_view stepText, const UnitRule& rule = {});

// Where the walker takes each coloured unit's colour: positions n long, k apart,
// from first. By position (the window's rule) a unit's own position of the
// length; with end stops a unit's count from the first coloured unit (firstUnit,
// counting every unit from 0), so the last coloured one sits at n.
struct ColourScale {
    std::int32_t n = 1;
    std::int32_t k = 1;
    std::int32_t first = 1;
    std::int32_t firstUnit = 0;
};
// With end stops, one pass over the units to find the coloured ones.
ColourScale ScaleOf(const GradientText& text);

// Writes the code for text into sink, each coloured unit in the walker's colour at
// its position,
// the colour code's form and merging as chosen; gives the number of tag pairs
// written. Linear in the text; holds nothing of the output beyond a small buffer.
// The walker must be made at the text's scale (ScaleOf).
// With named codes, largestDistance (when given) gets the largest Oklab distance
// from a unit's colour to the member written for it.
std::size_t WriteGradientMarkup(const GradientText& text, GradientWalker& colours, const TagTemplate& tags,
                                const MarkupForm& form, MarkupSink& sink, double* largestDistance = nullptr);

// The same, the walker made for the text's rule. The text must not be empty.
std::size_t WriteGradientMarkup(const GradientText& text, const Gradient& gradient, const TagTemplate& tags,
                                const MarkupForm& form, MarkupSink& sink, double* largestDistance = nullptr);

} // namespace velmorant
