#pragma once
// A terminal acts on control characters: an escape sequence in the text could
// set the title or the clipboard, clear the screen or reorder what follows. For
// terminal output every such character is written as a visible stand-in of one
// UTF-16 unit, so the units are cut and coloured exactly as before.

#include <string>
#include <string_view>

namespace velmorant {

// The stand-in for unit, or unit itself when a terminal shows it as it is. next is
// the unit after it (0 at the end): only the CR of a CR LF stays a line break.
// C0 controls and DEL become their control pictures (U+2400..U+2421), C1 controls
// and the bidi marks, embeddings, overrides and isolates U+FFFD.
constexpr char16_t VisibleStandIn(char16_t unit, char16_t next) {
    if (unit < 0x20) {
        if (unit == u'\t' || unit == u'\n' || (unit == u'\r' && next == u'\n'))
            return unit;
        return static_cast<char16_t>(0x2400 + unit);
    }
    if (unit < 0x7F)
        return unit;
    if (unit == 0x7F)
        return u'\u2421';
    const bool c1 = unit <= 0x9F;
    const bool bidi = unit == 0x061C || unit == 0x200E || unit == 0x200F || (unit >= 0x202A && unit <= 0x202E) ||
                      (unit >= 0x2066 && unit <= 0x2069);
    return c1 || bidi ? u'\uFFFD' : unit;
}

// text with every unit replaced by its stand-in. Returns text itself when nothing
// changes; otherwise the result lives in storage.
std::u16string_view ShowControls(std::u16string_view text, std::u16string& storage);

} // namespace velmorant
