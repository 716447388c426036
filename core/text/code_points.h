#pragma once
// UTF-16 surrogates, and lengths as forum software counts them: in Unicode code
// points. A lone surrogate counts as one, as it is written as U+FFFD.

#include <cstddef>
#include <string_view>

namespace velmorant {

constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }
// A high surrogate followed by a low one: one code point in two char16s.
constexpr bool IsSurrogatePair(char16_t high, char16_t low) { return IsHighSurrogate(high) && IsLowSurrogate(low); }

// 0-15 for a hex digit in either case, -1 for anything else.
constexpr int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

constexpr std::size_t CountCodePoints(std::u16string_view text) {
    std::size_t pairs = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (IsSurrogatePair(text[i], text[i + 1])) {
            ++pairs;
            ++i;
        }
    }
    return text.size() - pairs;
}

} // namespace velmorant
