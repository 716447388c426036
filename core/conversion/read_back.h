#pragma once
// Reading a code back into settings that write it again: its text, format, step,
// merging, styles, and stops placed where its units sit, so that converting the
// text with them gives every unit the colour read, and a code Velmorant wrote
// comes back byte for byte.

#include "core/markup/output_shape.h"
#include "core/text/units.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmorant {

struct ReadBack {
    std::u16string text;
    const Format* format = nullptr;
    TagTemplate tags;
    std::int32_t step = 1;
    bool merge = false;
    StyleOptions styles;
    // The colours as stops with positions, as --colours reads them ("#ff0000 25%, ...");
    // empty when the code holds no colour or needs more than kMaxStops stops.
    std::string colours;
    std::size_t stops = 0; // how many colours holds
    bool coloured = false; // the code holds a colour tag
    bool tooMany = false;  // its colours need more than kMaxStops stops: nothing to apply
};

// Reads code as written in format with tags (the format's own or edited), its
// units cut and coloured by rule. Linear in the code, but for a few passes over
// the text to find the step.
ReadBack ReadCodeBack(std::u16string_view code, const Format& format, const TagTemplate& tags,
                      const UnitRule& rule = {});

} // namespace velmorant
