#pragma once
// The gradient code: every unit of the trimmed text framed by the template in
// its own colour, raw units untagged. One unit loop writes into a MarkupSink.

#include "core/colour/gradient.h"
#include "core/markup/markup_sink.h"
#include "core/markup/output_shape.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmorant {

// The text without its blanks at either end, its length n and the step k taken
// from the step text: what the units and any colour rule are worked out from.
struct GradientText {
    std::u16string_view text;
    std::int32_t length = 0;
    std::int32_t step = 1;
};

// Throws std::length_error when the trimmed text is too long for 32-bit positions.
GradientText PrepareGradientText(std::u16string_view input, std::u16string_view stepText);

// Writes the code for text into sink, each coloured unit in the walker's colour at
// its position,
// the colour code's form and merging as chosen; gives the number of tag pairs
// written. Linear in the text; holds nothing of the output beyond a small buffer.
// With named codes, largestDistance (when given) gets the largest Oklab distance
// from a unit's colour to the member written for it.
std::size_t WriteGradientMarkup(const GradientText& text, GradientWalker& colours, const TagTemplate& tags,
                                const MarkupForm& form, MarkupSink& sink, double* largestDistance = nullptr);

} // namespace velmorant
