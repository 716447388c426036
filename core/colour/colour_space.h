#pragma once
// The colour spaces CSS Color 4 mixes colours in, and its hue methods: a colour
// in any of them, the conversions between them, and the mix of two colours with
// missing and powerless components carried as CSS carries them.

#include "core/colour/colour.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmorant {

enum class Space : std::uint8_t {
    Srgb,
    SrgbLinear,
    DisplayP3,
    A98Rgb,
    ProphotoRgb,
    Rec2020,
    Lab,
    Oklab,
    Xyz,
    XyzD50,
    XyzD65,
    Hsl,
    Hwb,
    Lch,
    Oklch,
};
inline constexpr int kSpaceCount = 15;

enum class HueMethod : std::uint8_t { Shorter, Longer, Increasing, Decreasing };

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

// CSS's name of a space ("oklch", "xyz-d50") and whether it has a hue.
std::string_view SpaceName(Space space);
bool IsPolar(Space space);
std::string_view HueMethodName(HueMethod method);

// "oklch", "oklch longer hue", "srgb": nothing for anything CSS would not take
// after "in " in color-mix().
std::optional<Blend> ReadBlend(std::string_view text);
// The text ReadBlend reads back; the hue method only when not the default.
std::string BlendText(const Blend& blend);

// A colour in one space, in CSS's units: RGB spaces and XYZ 0..1, Lab and LCH
// lightness 0..100, Oklab and OkLCh lightness 0..1, hues in degrees, HSL's and
// HWB's other components 0..1. A missing component ("none") reads as 0.
struct SpaceColour {
    Space space = Space::Srgb;
    std::array<double, 3> c{};
    std::array<bool, 3> missing{};
};

SpaceColour FromRgb(Rgb colour);

// The colour in another space: missing components stay missing where the other
// space has an analogous one, and a hue turns missing where it is powerless.
SpaceColour Convert(const SpaceColour& colour, Space to);

// Clipped to sRGB per channel, as Chromium paints it.
Rgb ToRgb(const SpaceColour& colour);

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
    std::array<double, 3> Rates() const;
};

// Whether a space's mixes are encoded from linear light (else from gamma-encoded sRGB).
bool LinearOutput(Space space);
// An output channel to 8 bits, clipped: the SrgbEncoder for linear outputs.
Channel EncodeGamma(double encoded);

} // namespace velmorant
