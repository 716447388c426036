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
    std::vector<std::size_t> headAt; // where in text each colour tag opens, in order
    StyleOptions styles;             // the style tags read, size and font as the settings write them
    std::size_t marks = 0;           // tags, style tags and escapes read: how well the format fits
    // Whether the format's writer could have written all of it: every character
    // typed where the format leaves it as it is, every colour tag closed, and hex
    // digits in the format's case.
    bool explained = true;
};

// Reads code as written in format with the template tags (the format's own or edited).
// Linear in the code.
DecodedCode DecodeCode(std::u16string_view code, const Format& format, const TagTemplate& tags);

// What code is written in, without guessing: the formats that explain all of it.
struct Detection {
    std::vector<const Format*> explaining; // in the table's order
    bool alike = true;                     // they all read the same text, colours and styles
    const Format* most = nullptr;          // the format reading the most marks, the first row on a tie
    // The one to read it in: the format explaining it, or the first of those that read it alike; else null.
    const Format* Chosen() const { return !explaining.empty() && alike ? explaining.front() : nullptr; }
};
Detection DetectFormats(std::u16string_view code);

// The format DetectFormats settles on, or else the one reading the most marks.
const Format& DetectFormat(std::u16string_view code);

} // namespace velmorant
