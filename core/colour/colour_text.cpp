#include "core/colour/colour_text.h"

#include "core/colour/colour_names.h"
#include "core/text/code_points.h"

#include <array>

namespace velmorant {

namespace {

// digitsPerChannel 2 reads "RRGGBB"; 1 reads "RGB", each digit doubled as CSS does.
std::optional<Rgb> ReadHex(std::string_view digits, std::size_t digitsPerChannel) {
    std::array<Channel, 3> channels{};
    for (std::size_t c = 0; c < 3; ++c) {
        int value = 0;
        for (std::size_t d = 0; d < digitsPerChannel; ++d) {
            const int digit = HexDigitValue(static_cast<unsigned char>(digits[c * digitsPerChannel + d]));
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + digit;
        }
        channels[c] = static_cast<Channel>(digitsPerChannel == 1 ? value * 17 : value);
    }
    return Rgb{channels[0], channels[1], channels[2]};
}

} // namespace

std::optional<Rgb> ReadColourText(std::string_view text) {
    const bool hash = text.starts_with('#');
    const std::string_view digits = hash ? text.substr(1) : text;
    if (digits.size() == 6) {
        if (const std::optional<Rgb> hex = ReadHex(digits, 2))
            return hex;
    }
    if (hash)
        return digits.size() == 3 ? ReadHex(digits, 1) : std::nullopt;
    // Without the "#" three letters are a name ("red", "tan"), never hex; six letters
    // that are not hex digits may be one too ("bisque").
    return NamedColour(text);
}

} // namespace velmorant
