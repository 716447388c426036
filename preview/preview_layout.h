#pragma once
// What the preview draws, as plain values: the font it uses and each unit's
// text, colour and top-left corner in twips.

#include "core/colour/colour.h"
#include "core/conversion/conversion.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmorant {

inline constexpr std::int32_t PreviewColumns = 38;
inline constexpr std::int32_t PreviewRowHeight = 200; // twips, whatever the font size
// Rows are numbered in 16 bits (row * 200 must fit), so the grid ends at row 163.
inline constexpr std::int32_t PreviewLastPosition = 164 * PreviewColumns;

struct PreviewFont {
    std::u16string Name;
    float Size = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
};

struct PreviewRun {
    std::u16string Text;
    PackedRgb Colour = 0;
    std::int32_t X = 0; // twips from the picture's left edge
    std::int32_t Y = 0; // twips from the picture's top edge
    friend bool operator==(const PreviewRun&, const PreviewRun&) = default;
};

// The drawing area in twips: units that start outside it are not laid out.
struct PreviewArea {
    std::int32_t width = std::numeric_limits<std::int32_t>::max();
    std::int32_t height = std::numeric_limits<std::int32_t>::max();
};

// Size choices 1..7 map to 10, 11, 12, 14, 19, 24, 35 points; any other number is itself.
float MapPreviewSize(std::u16string_view sizeText);

// Units of the trimmed text for step k, each in the generator's colour, on a grid
// of 38 cells per row, cells one em (cellPoints * 20 twips) wide, rows 200 apart.
std::vector<PreviewRun> LayoutPreview(std::u16string_view trimmedText, std::int32_t k, const Gradient& gradient,
                                      float cellPoints, PreviewArea area = {});
inline std::vector<PreviewRun> LayoutPreview(std::u16string_view trimmedText, std::int32_t k, const ColourPair& colours,
                                             float cellPoints, PreviewArea area = {}) {
    return LayoutPreview(trimmedText, k, Gradient{{colours.start, colours.end}, Blend::Srgb}, cellPoints, area);
}

// The preview of what request makes of input: its trimmed text cut by its step.
std::vector<PreviewRun> LayoutPreview(std::u16string_view input, const ConversionRequest& request, float cellPoints,
                                      PreviewArea area = {});

// One unit of a preview that flows as text (the page's): where it lies in the
// untrimmed input, how long it is, and its colour in the code.
struct PreviewSpan {
    std::int32_t offset = 0;
    std::int32_t length = 0;
    Rgb colour;
    friend bool operator==(const PreviewSpan&, const PreviewSpan&) = default;
};

// The units of what request makes of input within the trimmed text's first
// `characters` characters (a surrogate pair is one), the last one cut short
// there; `step` stands in for the request's step text when it is given.
std::vector<PreviewSpan> PreviewSpans(std::u16string_view input, const ConversionRequest& request,
                                      std::optional<std::int32_t> step, std::uint32_t characters);

} // namespace velmorant
