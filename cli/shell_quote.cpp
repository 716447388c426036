#include "cli/shell_quote.h"

#include "core/conversion/visible_controls.h"
#include "core/text/utf8.h"

namespace velmorant::cli {

namespace {

// The length of the well-formed UTF-8 sequence at the start of bytes, 0 if none.
std::size_t WellFormedLength(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (length > bytes.size() || DecodeUtf8(bytes.substr(0, length)).badByte)
        return 0;
    return length;
}

// Whether a terminal could act on the sequence instead of showing it.
bool NeedsEscape(std::string_view sequence) {
    if (sequence.size() == 1)
        return static_cast<unsigned char>(sequence[0]) < 0x20 || sequence[0] == 0x7F;
    const std::u16string units = DecodeUtf8(sequence).text;
    return units.size() == 1 && VisibleStandIn(units[0], u'\0') != units[0];
}

void AppendEscape(std::string& out, unsigned char byte) {
    constexpr std::string_view letters = "abtnvfr"; // \a is 7, \r is 13
    out += '\\';
    if (byte >= 7 && byte <= 13) {
        out += letters[byte - 7];
        return;
    }
    out += static_cast<char>('0' + (byte >> 6));
    out += static_cast<char>('0' + ((byte >> 3) & 7));
    out += static_cast<char>('0' + (byte & 7));
}

} // namespace

std::string ShellQuote(std::string_view text) {
    std::string out = "'";
    bool escaping = false; // inside a $'...' segment
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = WellFormedLength(text.substr(i));
        const std::string_view sequence = text.substr(i, length == 0 ? 1 : length);
        i += sequence.size();
        if (length == 0 || NeedsEscape(sequence)) {
            if (!escaping)
                out += "'$'";
            escaping = true;
            for (const char byte : sequence)
                AppendEscape(out, static_cast<unsigned char>(byte));
            continue;
        }
        if (escaping)
            out += "''";
        escaping = false;
        if (sequence == "'")
            out += "'\\''";
        else
            out += sequence;
    }
    return out + "'";
}

} // namespace velmorant::cli
