#pragma once
// A gradient through two or more colours at equal spacing along the text, blended
// in sRGB (the window's rule) or in Oklab. With two sRGB stops every colour is
// exactly InterpolateChannel's.

#include "codegen/channel_stepper.h"
#include "codegen/colour.h"
#include "codegen/oklab.h"

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

namespace velmorant {

enum class Blend { Srgb, Oklab };

struct Gradient {
    std::vector<Rgb> stops; // at least two
    Blend blend = Blend::Srgb;
};

// Position i of n (1 <= i <= n) lies in segment min(floor(i * m / n), m - 1) of m = stops - 1.
std::int64_t SegmentOf(std::int64_t i, std::int64_t n, std::int64_t segments);

// The one colour engine of the code, the preview and the strip: the colour at
// the positions first, first + k, ... of n, by additions within a segment instead
// of divisions per unit, and without pow. At position i (0 <= i <= n) of segment
// j of m = stops - 1 it is, for sRGB, c_j + (c_j+1 - c_j) * (i * m - j * n) / n
// per channel, exact and rounded half to even; for Oklab the same fraction in
// Oklab. With two sRGB stops that is InterpolateChannel's rule exactly.
class GradientWalker {
public:
    GradientWalker(const Gradient& gradient, std::int32_t k, std::int32_t n, std::int32_t first = 1);

    // Positions only grow, by multiples of k (empty units are skipped, not reordered).
    void MoveTo(std::int32_t position) {
        if (position >= nextSegmentAt_) {
            EnterSegment(position);
            return;
        }
        if (oklab_) {
            if (position >= nextMixAt_)
                MixAt(position);
            return;
        }
        while (position_ < position) {
            red_.Step();
            green_.Step();
            blue_.Step();
            position_ += k_;
        }
    }
    std::int32_t Red() const { return oklab_ ? mixed_.red : red_.Value(); }
    std::int32_t Green() const { return oklab_ ? mixed_.green : green_.Value(); }
    std::int32_t Blue() const { return oklab_ ? mixed_.blue : blue_.Value(); }
    // Every value lies between two stops, so it fits a Channel.
    Rgb Colour() const {
        return {static_cast<Channel>(Red()), static_cast<Channel>(Green()), static_cast<Channel>(Blue())};
    }

private:
    void EnterSegment(std::int64_t position);
    void MixAt(std::int64_t position);
    // For each segment, 1 / (a bound on how fast each linear channel moves with t).
    void MeasureSegments();

    std::vector<Rgb> stops_;
    std::vector<Oklab> labs_;
    bool oklab_;
    std::int64_t k_, n_, segments_;
    std::int64_t segment_ = 0;
    std::int64_t position_ = 0;
    std::int64_t nextSegmentAt_ = 0; // first position of the next segment
    ChannelStepper red_{0, 0, 0, 0, 1}, green_{0, 0, 0, 0, 1}, blue_{0, 0, 0, 0, 1};
    Rgb mixed_;
    std::int64_t nextMixAt_ = 0; // positions before it are known to keep mixed_
    std::vector<std::array<double, 3>> slowness_;
    const SrgbEncoder* encoder_ = nullptr;
};

} // namespace velmorant
