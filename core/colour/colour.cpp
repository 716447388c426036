#include "core/colour/colour.h"

#include <cmath>

#include "core/text/text.h"

namespace velmorant {

ChannelTriple SplitRGB(std::int32_t chooserValue) {
    const std::int32_t blue = chooserValue / 65536;
    const std::int32_t green = (chooserValue - blue * 65536) / 256;
    const std::int32_t red = chooserValue - blue * 65536 - green * 256;
    return {red, green, blue};
}

std::u16string HexText(std::int16_t v) {
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    auto bits = static_cast<std::uint16_t>(v); // negatives as their 16-bit two's complement
    char16_t buffer[4];
    int used = 0;
    do {
        buffer[3 - used++] = digits[bits & 0xF];
        bits = static_cast<std::uint16_t>(bits >> 4);
    } while (bits != 0);
    return std::u16string(buffer + 4 - used, buffer + 4);
}

std::u16string HexPair(std::u16string_view hex) {
    switch (TrimBlanks(hex).size()) {
    case 0:
        return u"00";
    case 1: {
        std::u16string padded(1, u'0');
        return padded.append(hex);
    }
    case 2:
        return std::u16string(hex);
    default:
        return {};
    }
}

std::u16string ColourCode(Rgb colour) {
    return HexPair(HexText(colour.red)) + HexPair(HexText(colour.green)) + HexPair(HexText(colour.blue));
}

} // namespace velmorant
