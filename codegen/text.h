#pragma once
// Blanks are U+0020 only: tabs, line breaks and the ideographic space U+3000
// are ordinary characters everywhere in Velmorant.

#include <string_view>

namespace velmorant {

constexpr bool IsBlank(char16_t c) { return c == u' '; }

// The text without its leading and trailing blanks.
std::u16string_view TrimBlanks(std::u16string_view text);

} // namespace velmorant
