#include "core/text/graphemes.h"

#include "core/text/code_points.h"

#include <algorithm>
#include <iterator>

namespace velmorant {
namespace {

#include "core/text/grapheme_table.inc"

struct CodePoint {
    char32_t value;
    std::size_t length; // in char16
};

CodePoint CodePointAt(std::u16string_view text, std::size_t i) {
    if (i + 1 < text.size() && IsSurrogatePair(text[i], text[i + 1]))
        return {0x10000 + ((char32_t(text[i]) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00), 2};
    return {text[i], 1};
}

constexpr bool BreaksAlways(GraphemeBreak b) {
    return b == GraphemeBreak::CR || b == GraphemeBreak::LF || b == GraphemeBreak::Control;
}

// Where an emoji ZWJ sequence stands (GB11: ExtPict Extend* ZWJ x ExtPict).
enum class Emoji : std::uint8_t { None, Pictograph, AfterZwj };

// Whether no cluster boundary lies between a code point of value before and
// one of properties after, given the cluster so far.
bool Joins(GraphemeBreak before, GraphemeProperties after, Emoji emoji, int regionalRun) {
    using enum GraphemeBreak;
    const GraphemeBreak b = after.value;
    if (before == CR && b == LF) // GB3
        return true;
    if (BreaksAlways(before) || BreaksAlways(b)) // GB4, GB5
        return false;
    if (before == L && (b == L || b == V || b == LV || b == LVT)) // GB6: Hangul syllables
        return true;
    if ((before == LV || before == V) && (b == V || b == T)) // GB7
        return true;
    if ((before == LVT || before == T) && b == T) // GB8
        return true;
    if (b == Extend || b == ZWJ || b == SpacingMark || before == Prepend) // GB9, GB9a, GB9b
        return true;
    if (emoji == Emoji::AfterZwj && after.extendedPictographic) // GB11
        return true;
    // GB12, GB13: regional indicators pair up, a flag at a time.
    return before == RegionalIndicator && b == RegionalIndicator && regionalRun % 2 == 1;
}

} // namespace

GraphemeProperties GraphemePropertiesOf(char32_t c) {
    if (c >= 0x20 && c < 0x7F) // printable ASCII, most of most texts
        return {GraphemeBreak::Other, false};
    const std::uint32_t key = (static_cast<std::uint32_t>(c) << 5) | 0x1F;
    const std::uint32_t run = *(std::upper_bound(std::begin(kGraphemeRuns), std::end(kGraphemeRuns), key) - 1);
    return {static_cast<GraphemeBreak>(run & 0x0F), (run & 0x10) != 0};
}

std::size_t GraphemeEnd(std::u16string_view text, std::size_t start) {
    Emoji emoji = Emoji::None;
    int regionalRun = 0;
    GraphemeBreak before = GraphemeBreak::Other;
    std::size_t i = start;
    while (i < text.size()) {
        const CodePoint c = CodePointAt(text, i);
        const GraphemeProperties p = GraphemePropertiesOf(c.value);
        if (i > start && !Joins(before, p, emoji, regionalRun))
            break;
        if (p.extendedPictographic)
            emoji = Emoji::Pictograph;
        else if (emoji == Emoji::Pictograph && p.value == GraphemeBreak::ZWJ)
            emoji = Emoji::AfterZwj;
        else if (!(emoji == Emoji::Pictograph && p.value == GraphemeBreak::Extend))
            emoji = Emoji::None;
        regionalRun = p.value == GraphemeBreak::RegionalIndicator ? regionalRun + 1 : 0;
        before = p.value;
        i += c.length;
    }
    return i;
}

std::size_t CountGraphemes(std::u16string_view text) {
    std::size_t count = 0;
    ForEachGrapheme(text, [&](std::u16string_view) { ++count; });
    return count;
}

} // namespace velmorant
