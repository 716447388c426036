#pragma once
// The colour vocabulary every part of Velmorant shares: packed colour values,
// channel triples, the colour pair, the one blending rule and the colour code.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmorant {

// A colour packed as 0xRRGGBB, each channel 0..255: the one packed form in the core.
using PackedRgb = std::int32_t;
// One channel of the colour pair: 16-bit signed, always 0..255 in practice.
using Channel = std::int16_t;
// SplitRGB's result: index 0 red, 1 green, 2 blue.
using ChannelTriple = std::array<std::int32_t, 3>;

struct Rgb {
    Channel red = 0;
    Channel green = 0;
    Channel blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct ColourPair {
    Rgb start;
    Rgb end;
    friend bool operator==(const ColourPair&, const ColourPair&) = default;
};

// The window's split of a value as its colour chooser answers it, in the platform's
// order red + 256 * green + 65536 * blue (not PackedRgb's): truncating 32-bit
// divisions; bits above 23 land in blue, nothing is masked.
ChannelTriple SplitRGB(std::int32_t chooserValue);

// Upper-case base 16 without leading zeros; negatives as 16-bit two's complement.
std::u16string HexText(std::int16_t v);

// Pads a one-digit text to two; "" for three or more digits. Only the length
// test ignores the blanks around the digits.
std::u16string HexPair(std::u16string_view hex);

constexpr PackedRgb Pack(Rgb colour) { return colour.red << 16 | colour.green << 8 | colour.blue; }

// Six upper-case hex digits, red first, no "#": HexPair(HexText(channel)) three times.
std::u16string ColourCode(Rgb colour);

} // namespace velmorant
