#pragma once
// The colour spaces CSS Color 4 mixes colours in: a colour in any of them and the
// conversions between them, missing and powerless components carried as CSS
// carries them. Mixing is core/colour/mixing.h; reading CSS text, css_colour.h.

#include "core/colour/colour.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// Every space in the order of Space, and CSS's names of them.
std::vector<Space> Spaces();
std::vector<std::string_view> BlendNames();

// CSS's name of a space ("oklch", "xyz-d50"), whether it has a hue, and what
// mixing in it does, in words a forum poster knows.
std::string_view SpaceName(Space space);
bool IsPolar(Space space);
std::string_view BlendSummary(Space space);
// Which component is the hue, in a polar space.
std::optional<std::size_t> HueComponent(Space space);

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

// Components, missing ones as 0, to the domain the encoder reads: linear sRGB,
// or gamma-encoded sRGB where LinearOutput is false.
std::array<double, 3> ToOutput(Space space, const std::array<double, 3>& components);
// For the straight line from one set of components to another as t goes 0..1,
// a bound on |d/dt| of each output channel.
std::array<double, 3> OutputRates(Space space, const std::array<double, 3>& from, const std::array<double, 3>& to);

// Whether a space's mixes are encoded from linear light (else from gamma-encoded sRGB).
bool LinearOutput(Space space);
// An output channel to 8 bits, clipped: the SrgbEncoder for linear outputs.
Channel EncodeGamma(double encoded);

} // namespace velmorant
