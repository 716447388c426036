#pragma once
// Björn Ottosson's Oklab colour space and the sRGB transfer function both ways:
// blending here keeps the lightness even where straight sRGB goes grey.

#include "core/colour/colour.h"

#include <array>
#include <cstdint>

namespace velmorant {

struct Oklab {
    double L = 0;
    double a = 0;
    double b = 0;
};

using LinearRgb = std::array<double, 3>;

// Oklab to the cube roots of the cone responses l, m, s, and the cones (cubed)
// to linear sRGB: the two matrices of the way back, which the Oklab walker also
// uses to bound how fast a channel moves.
inline constexpr double kOklabToLms[3][3] = {
    {1, 0.3963377774, 0.2158037573}, {1, -0.1055613458, -0.0638541728}, {1, -0.0894841775, -1.2914855480}};
inline constexpr double kLmsToLinear[3][3] = {{4.0767416621, -3.3077115913, 0.2309699292},
                                              {-1.2684380046, 2.6097574011, -0.3413193965},
                                              {-0.0041960863, -0.7034186147, 1.7076147010}};

// sRGB channel 0..255 to linear light 0..1.
double SrgbToLinear(Channel channel);

Oklab LinearToOklab(const LinearRgb& rgb);
LinearRgb OklabToLinear(const Oklab& lab);
Oklab SrgbToOklab(Rgb colour);

// Linear light to an sRGB channel: clamped to 0..255, rounded half to even, with pow.
Channel EncodeSrgbDirect(double linear);

// EncodeSrgbDirect from the 255 linear values where the channel steps up, found
// once by bisection against it: the same result for every input, without pow.
class SrgbEncoder {
public:
    static const SrgbEncoder& Shared();

    Channel Encode(double x) const {
        if (!(x >= borders_[1]))
            return 0;
        if (x >= borders_[255])
            return 255;
        // Below borders_[255] < 1, so the bucket is in range; it starts the scan close by.
        int v = bucketStart_[static_cast<int>(x * kBuckets)];
        while (x >= borders_[v + 1])
            ++v;
        return static_cast<Channel>(v);
    }

    // borders()[v] is the smallest x that encodes to v or more; [0] is -inf, [256] +inf.
    const std::array<double, 257>& Borders() const { return borders_; }

private:
    static constexpr int kBuckets = 1024;
    SrgbEncoder();
    static double SmallestReaching(int value);

    std::array<double, 257> borders_;
    std::array<std::uint8_t, kBuckets> bucketStart_;
};

} // namespace velmorant
