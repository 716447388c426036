#pragma once
// A terminal acts on control characters: an escape sequence in the text could
// set the title or the clipboard, clear the screen or reorder what follows. For
// terminal output every such character is written as a visible stand-in of one
// char16, so the units are cut and coloured exactly as before.

#include <string>
#include <string_view>

namespace velmorant {

// The stand-in for c, or c itself when a terminal shows it as it is. next is
// the char16 after it (0 at the end): only the CR of a CR LF stays a line break.
// C0 controls and DEL become their control pictures (U+2400..U+2421), C1 controls
// and the bidi marks, embeddings, overrides and isolates U+FFFD.
constexpr char16_t VisibleStandIn(char16_t c, char16_t next) {
    if (c < 0x20) {
        if (c == u'\t' || c == u'\n' || (c == u'\r' && next == u'\n'))
            return c;
        return static_cast<char16_t>(0x2400 + c);
    }
    if (c < 0x7F)
        return c;
    if (c == 0x7F)
        return u'\u2421';
    const bool c1 = c <= 0x9F;
    const bool bidi =
        c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
    return c1 || bidi ? u'\uFFFD' : c;
}

// text with every char16 replaced by its stand-in. Returns text itself when nothing
// changes; otherwise the result lives in storage.
std::u16string_view ShowControls(std::u16string_view text, std::u16string& storage);

} // namespace velmorant
