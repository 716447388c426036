#pragma once
// Björn Ottosson's Oklab colour space and the sRGB transfer function both ways:
// blending here keeps the lightness even where straight sRGB goes grey.

#include "codegen/colour.h"

#include <array>

namespace velmorant {

struct Oklab {
    double L = 0;
    double a = 0;
    double b = 0;
};

using LinearRgb = std::array<double, 3>;

// sRGB channel 0..255 to linear light 0..1.
double SrgbToLinear(Channel channel);

Oklab LinearToOklab(const LinearRgb& rgb);
LinearRgb OklabToLinear(const Oklab& lab);
Oklab SrgbToOklab(Rgb colour);

// Linear light to an sRGB channel: clamped to 0..255, rounded half to even, with pow.
Channel EncodeSrgbDirect(double linear);

// The same value from a table of the 255 linear thresholds between neighbouring
// channel values: no pow per call. Equal to EncodeSrgbDirect for every input.
Channel EncodeSrgb(double linear);

// The linear values where the encoded channel steps up: borders[v] is the
// smallest x that EncodeSrgb takes to v or more; borders[0] is -inf, borders[256] +inf.
const std::array<double, 257>& SrgbBorders();

} // namespace velmorant
