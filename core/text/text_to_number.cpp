#include "core/text/text_to_number.h"

#include "core/text/code_points.h"

#include <fast_float/fast_float.h>

#include <cmath>
#include <string>

namespace velmorant {

namespace {

constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

double ReadRadixInteger(std::u16string_view digits, int radix) {
    double value = 0;
    for (char16_t c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0 || d >= radix)
            break;
        value = value * radix + d;
    }
    return value;
}

// Reads the longest leading decimal of an already cleaned text. The number is
// copied into a plain ASCII buffer so that fast_float, which knows no locale,
// no "+" and no "D" exponent, can convert it, correctly rounded, to ±0 or ∞
// beyond the range of a double. fast_float rather than std::from_chars: the
// libc++ of the WebAssembly toolchains reads no double.
double ReadDecimal(std::u16string_view text) {
    std::string ascii;
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        negative = text[at++] == u'-';

    bool seenPoint = false;
    bool anyDigit = false;
    for (; at < text.size(); ++at) {
        const char16_t c = text[at];
        if (IsDigit(c)) {
            anyDigit = true;
            ascii.push_back(static_cast<char>(c));
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            ascii.push_back('.');
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0;

    if (at < text.size() && (text[at] == u'E' || text[at] == u'e' || text[at] == u'D' || text[at] == u'd')) {
        std::size_t e = at + 1;
        bool negativeExponent = false;
        if (e < text.size() && (text[e] == u'+' || text[e] == u'-'))
            negativeExponent = text[e++] == u'-';
        if (e < text.size() && IsDigit(text[e])) {
            ascii.push_back('e');
            if (negativeExponent)
                ascii.push_back('-');
            for (; e < text.size() && IsDigit(text[e]); ++e)
                ascii.push_back(static_cast<char>(text[e]));
        }
    }

    // Newer fast_float versions also report result_out_of_range, with the same ±0 or ∞.
    double value = 0;
    fast_float::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    return negative ? -value : value;
}

} // namespace

double TextToNumber(std::u16string_view text) {
    std::u16string cleaned;
    cleaned.reserve(text.size());
    for (char16_t c : text)
        if (c != u' ' && c != u'\t' && c != u'\n')
            cleaned.push_back(c);

    if (cleaned.size() >= 2 && cleaned[0] == u'&') {
        if (cleaned[1] == u'H' || cleaned[1] == u'h')
            return ReadRadixInteger(std::u16string_view(cleaned).substr(2), 16);
        if (cleaned[1] == u'O' || cleaned[1] == u'o')
            return ReadRadixInteger(std::u16string_view(cleaned).substr(2), 8);
    }
    return ReadDecimal(cleaned);
}

std::int32_t EffectiveStep(std::u16string_view stepText, std::int32_t n) {
    const double rounded = std::nearbyint(TextToNumber(stepText));
    // Beyond 32 bits (or not finite) the value exceeds n - 1 for every text anyway.
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return 1;
    const auto value = static_cast<std::int32_t>(rounded);
    // A negative step would make the unit loop run downward and write nothing.
    if (value <= 0 || value > static_cast<std::int64_t>(n) - 1)
        return 1;
    return value;
}

} // namespace velmorant
