#pragma once
// A blank is U+0020 only: what TrimBlanks trims and HexPair's length test
// ignores. Tabs, line breaks and the ideographic space U+3000 are not blanks,
// though a number skips tabs and line feeds too (text_to_number.h) and a unit of
// a lone tab, LF or CR is written without a tag (units.h).

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace velmorant {

constexpr bool IsBlank(char16_t c) { return c == u' '; }

// The text without its leading and trailing blanks.
std::u16string_view TrimBlanks(std::u16string_view text);

// Positions (one per char16) are 32-bit signed: no longer text can be converted.
inline constexpr std::size_t kMaxTextChar16s = std::numeric_limits<std::int32_t>::max();
constexpr bool FitsPositions(std::u16string_view text) { return text.size() <= kMaxTextChar16s; }

// The text's length as a position count; std::length_error beyond kMaxTextChar16s.
std::int32_t PositionCount(std::u16string_view text);

} // namespace velmorant
