#pragma once
// Mixing two colours in one of CSS's spaces: the hue methods, the blend (space
// and hue method) a gradient is mixed in, and the pair of colours made ready to mix.

#include "core/colour/spaces.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmorant {

enum class HueMethod : std::uint8_t { Shorter, Longer, Increasing, Decreasing };

// Every hue method in the order of HueMethod; CSS's name of one, and what it
// does in words a forum poster knows.
std::vector<HueMethod> HueMethods();
std::vector<std::string_view> HueMethodNames();
std::string_view HueMethodName(HueMethod method);
std::string_view HueMethodSummary(HueMethod method);

// How a gradient's colours are mixed. Blend::Srgb with plain stops is the window's
// exact integer rule; every other blend mixes in doubles as CSS does.
struct Blend {
    Space space = Space::Srgb;
    HueMethod hue = HueMethod::Shorter;
    static const Blend Srgb;
    static const Blend Oklab;
    friend bool operator==(const Blend&, const Blend&) = default;
};
inline constexpr Blend Blend::Srgb{Space::Srgb, HueMethod::Shorter};
inline constexpr Blend Blend::Oklab{Space::Oklab, HueMethod::Shorter};

// Two colours made ready to mix in one space: converted to it, a component missing
// in one taken from the other, and the hues placed by the method so that a
// straight line between the endpoints is CSS's mix.
struct MixPair {
    Space space = Space::Srgb;
    std::array<double, 3> from{}, to{};
    MixPair() = default;
    MixPair(const SpaceColour& a, const SpaceColour& b, const Blend& blend);
    Rgb At(double t) const;
    // The mix at t before clipping, in the domain the encoder reads: linear or
    // gamma-encoded sRGB (see LinearOutput).
    std::array<double, 3> OutputAt(double t) const;
    // For each output channel, a bound on |d/dt| over 0 <= t <= 1.
    std::array<double, 3> Rates() const { return OutputRates(space, from, to); }
};

} // namespace velmorant
