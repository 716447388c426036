#include "core/colour/oklab.h"

#include "core/colour/spaces.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace velmorant {

namespace {

double Cube(double x) { return x * x * x; }

} // namespace

double SrgbToLinear(Channel channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Oklab LinearToOklab(const LinearRgb& rgb) {
    const auto [r, g, b] = rgb;
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

LinearRgb OklabToLinear(const Oklab& lab) {
    std::array<double, 3> lms{};
    for (int i = 0; i < 3; ++i)
        lms[i] = Cube(kOklabToLms[i][0] * lab.L + kOklabToLms[i][1] * lab.a + kOklabToLms[i][2] * lab.b);
    LinearRgb rgb{};
    for (int c = 0; c < 3; ++c)
        rgb[c] = kLmsToLinear[c][0] * lms[0] + kLmsToLinear[c][1] * lms[1] + kLmsToLinear[c][2] * lms[2];
    return rgb;
}

Oklab SrgbToOklab(Rgb colour) {
    return LinearToOklab({SrgbToLinear(colour.red), SrgbToLinear(colour.green), SrgbToLinear(colour.blue)});
}

Channel EncodeSrgbDirect(double linear) {
    return EncodeGamma(linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055);
}

SrgbEncoder::SrgbEncoder() {
    borders_[0] = -std::numeric_limits<double>::infinity();
    for (int v = 1; v <= 255; ++v)
        borders_[v] = SmallestReaching(v);
    borders_[256] = std::numeric_limits<double>::infinity();
    int v = 0;
    for (int q = 0; q < kBuckets; ++q) {
        const double low = static_cast<double>(q) / kBuckets;
        while (low >= borders_[v + 1])
            ++v;
        bucketStart_[q] = static_cast<std::uint8_t>(v);
    }
}

const SrgbEncoder& SrgbEncoder::Shared() {
    static const SrgbEncoder encoder;
    return encoder;
}

// Bisection over the bit patterns of non-negative doubles, which sort like the
// values. memcpy rather than std::bit_cast, which older libc++ versions lack.
double SrgbEncoder::SmallestReaching(int value) {
    const auto bitsToDouble = [](std::uint64_t bits) {
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    };
    static_assert(std::numeric_limits<double>::is_iec559);
    std::uint64_t low = 0;                      // 0.0 encodes to 0
    std::uint64_t high = 0x3FF0'0000'0000'0000; // 1.0 encodes to 255
    while (high - low > 1) {
        const std::uint64_t middle = low + (high - low) / 2;
        if (EncodeSrgbDirect(bitsToDouble(middle)) >= value)
            high = middle;
        else
            low = middle;
    }
    return bitsToDouble(high);
}

} // namespace velmorant
