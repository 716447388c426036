#pragma once
// Cutting a text into the units that share one colour. The generator and the
// preview both cut through here, so code and preview agree unit by unit.

#include <cstdint>
#include <string_view>

namespace velmorant {

struct Unit {
    // 1-based position of the unit's nominal first char16: the colour is taken here.
    std::int32_t position;
    // The unit's characters. A unit never ends between a high and a low surrogate:
    // it takes the low surrogate along, and the next unit starts after it.
    std::u16string_view text;
};

// The characters that pass untagged when they make a unit alone.
constexpr bool IsRawAlone(char16_t c) { return c == u'\t' || c == u'\n' || c == u'\r'; }

// Tab, line feed or carriage return alone, or blanks only: written without a tag.
bool IsRawUnit(std::u16string_view unit);

// PHP's (PCRE's) \s: blank, tab, LF, vertical tab, form feed, CR.
constexpr bool IsAsciiWhiteSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// Visits the units of text (already trimmed) for step k >= 1, in order.
// Units left empty by the surrogate rule are skipped.
template <class Visit> void ForEachUnit(std::u16string_view text, std::int32_t k, Visit&& visit);

} // namespace velmorant

#include "core/text/units_impl.h"
