#pragma once
// Cutting a text into the units that share one colour. The generator and the
// preview both cut through here, so code and preview agree unit by unit.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmorant {

struct Unit {
    // 1-based position of the unit's nominal first char16: the colour is taken here.
    std::int32_t position;
    // The unit's characters. A unit never ends between a high and a low surrogate:
    // it takes the low surrogate along, and the next unit starts after it. Nor,
    // for steps of 2 or more, between CR and LF: a tag there makes a forum show two
    // line breaks. At step 1 both pass raw side by side, nothing written between.
    std::u16string_view text;
};

// Whether text[i] and text[i + 1] are CR LF.
constexpr bool IsLineBreakPair(std::u16string_view text, std::size_t i) {
    return i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n';
}

// The characters that pass untagged when they make a unit alone.
constexpr bool IsRawAlone(char16_t c) { return c == u'\t' || c == u'\n' || c == u'\r'; }

// Tab, line feed or carriage return alone, or blanks only: written without a tag.
bool IsRawUnit(std::u16string_view unit);

// PHP's (PCRE's) \s: blank, tab, LF, vertical tab, form feed, CR.
constexpr bool IsAsciiWhiteSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// How units are cut and coloured besides the step. The window's rule is both false.
struct UnitRule {
    // Units of whole clusters, steps and positions counted in clusters, so no colour
    // is spent on a code point nobody sees alone (an accent, a flag's second half).
    bool graphemes = false;
    // Colours placed by unit: the first coloured unit wears the first stop, the last
    // the last, as someone picking "red to blue" expects.
    bool endStops = false;
    // Units of only white space (PHP's \s) untagged too: a place that drops tags
    // round white space drops its line breaks with them.
    bool whiteSpace = false;
};

// IsRawUnit, and in units of clusters also CR LF alone: a line break, like LF alone;
// with whiteSpace, any unit of white space.
inline bool IsRawUnit(std::u16string_view unit, const UnitRule& rule) {
    return IsRawUnit(unit) || (rule.graphemes && unit == u"\r\n") ||
           (rule.whiteSpace && std::all_of(unit.begin(), unit.end(), IsAsciiWhiteSpace));
}

// Visits the units of text (already trimmed) for step k >= 1, in order.
// Units left empty by the surrogate rule are skipped.
template <class Visit> void ForEachUnit(std::u16string_view text, std::int32_t k, Visit&& visit);

} // namespace velmorant

#include "core/text/units_impl.h"
