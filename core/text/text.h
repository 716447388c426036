#pragma once
// Blanks are U+0020 only: tabs, line breaks and the ideographic space U+3000
// are ordinary characters everywhere in Velmorant.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace velmorant {

constexpr bool IsBlank(char16_t c) { return c == u' '; }

// The text without its leading and trailing blanks.
std::u16string_view TrimBlanks(std::u16string_view text);

// Unit positions are 32-bit signed: no longer text can be converted.
inline constexpr std::size_t kMaxTextChar16s = std::numeric_limits<std::int32_t>::max();
constexpr bool FitsPositions(std::u16string_view text) { return text.size() <= kMaxTextChar16s; }

// The text's length as a position count; std::length_error beyond kMaxTextChar16s.
std::int32_t PositionCount(std::u16string_view text);

} // namespace velmorant
