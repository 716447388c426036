#pragma once
// Reading a code back: the plain text and the colours its tags give. Everything
// the escapes of a format hide comes back as typed.

#include "core/colour/colour.h"
#include "core/markup/output_shape.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmorant {

struct DecodedCode {
    std::u16string text;
    std::vector<PackedRgb> colourAt; // per char16 of text, or -1 outside a colour tag
    std::vector<Rgb> colours;        // the colour tags in order, neighbours of one colour once
    std::size_t marks = 0;           // tags, style tags and escapes read: how well the format fits
};

// Reads code as written in format with the template tags (the format's own or edited).
// Linear in the code.
DecodedCode DecodeCode(std::u16string_view code, const Format& format, const TagTemplate& tags);

// The format that reads the most marks in the start of code; the first row on a tie.
const Format& DetectFormat(std::u16string_view code);

} // namespace velmorant
