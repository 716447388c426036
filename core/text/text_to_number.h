#pragma once

#include <cstdint>
#include <string_view>

namespace velmorant {

// The leading decimal number of a text after removing every blank, tab and line
// feed; "&H"/"&O" prefixes read hexadecimal/octal digits. 0 without a number.
double TextToNumber(std::u16string_view text);

// Characters per unit for a step text and a text of n char16s. Falls back to 1
// for 0, for values above n - 1, for negative values and for values beyond 32 bits.
std::int32_t EffectiveStep(std::u16string_view stepText, std::int32_t n);

} // namespace velmorant
