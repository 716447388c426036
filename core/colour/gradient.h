#pragma once
// A gradient through two or more colours, at equal spacing along the text or at
// the positions CSS gives them, blended in any of CSS's spaces. With two plain
// sRGB stops every colour is exactly the window's (channel_stepper.h).

#include "core/colour/channel_stepper.h"
#include "core/colour/colour.h"
#include "core/colour/contrast.h"
#include "core/colour/mixing.h"
#include "core/colour/oklab.h"

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace velmorant {

struct Gradient {
    std::vector<Rgb> stops; // at least two; in 8 bits, for what shows a stop by itself
    Blend blend = Blend::Srgb;
    // One per stop where a stop is more than 8-bit sRGB says (another space, a
    // fraction, a missing component); else empty.
    std::vector<SpaceColour> exact{};
    // One per stop, ascending, as CSS fixes them up (0 start, 1 end); empty for equal spacing.
    std::vector<double> positions{};
    // Every colour made readable on a background: the writer, the measurer and the
    // preview all take their colours from the walker, so they agree.
    std::optional<ReadableFilter> readable{};

    // The window's rule: sRGB, plain stops, equal spacing.
    bool IntegerRule() const { return blend == Blend::Srgb && exact.empty() && positions.empty(); }
    SpaceColour Stop(std::size_t j) const { return exact.empty() ? FromRgb(stops[j]) : exact[j]; }
};

// Position i of n (1 <= i <= n) lies in segment min(floor(i * m / n), m - 1) of m = stops - 1.
std::int64_t SegmentOf(std::int64_t i, std::int64_t n, std::int64_t segments);

// Where position i of n lies: the segment and the fraction of the way along it.
// With positions, the last segment starting at or before i / n, the fraction
// clamped to 0..1 (a colour before the first stop or after the last is that stop's).
struct SegmentPoint {
    std::int64_t segment = 0;
    double t = 0;
};
SegmentPoint PointOf(const Gradient& gradient, std::int64_t i, std::int64_t n);

// One colour from the definition, without the walker's shortcuts.
Rgb MixAtPosition(const Gradient& gradient, std::int64_t i, std::int64_t n);

// The one colour engine of the code, the preview and the strip: the colour at
// the positions first, first + k, ... of n, by additions within a segment instead
// of divisions per unit, and without pow. At position i (0 <= i <= n) of segment
// j of m = stops - 1 it is, for sRGB, c_j + (c_j+1 - c_j) * (i * m - j * n) / n
// per channel, exact and rounded half to even; in any other blend, MixAtPosition.
// With two sRGB stops that is the window's rule exactly.
class GradientWalker {
public:
    GradientWalker(const Gradient& gradient, std::int32_t k, std::int32_t n, std::int32_t first = 1);

    // Positions only grow, by multiples of k (empty units are skipped, not reordered).
    void MoveTo(std::int32_t position) {
        if (position >= nextSegmentAt_) {
            EnterSegment(position);
            return;
        }
        if (!integer_) {
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
    std::int32_t Red() const { return !integer_ ? mixed_.red : red_.Value(); }
    std::int32_t Green() const { return !integer_ ? mixed_.green : green_.Value(); }
    std::int32_t Blue() const { return !integer_ ? mixed_.blue : blue_.Value(); }
    // The colour before the gradient's filter: every value lies between two stops,
    // so it fits a Channel.
    Rgb Unfiltered() const {
        return {static_cast<Channel>(Red()), static_cast<Channel>(Green()), static_cast<Channel>(Blue())};
    }
    // The unit's colour, through the filter when the gradient has one.
    Rgb Colour() const { return gradient_.readable ? Filtered() : Unfiltered(); }

private:
    void EnterSegment(std::int64_t position);
    void MixAt(std::int64_t position);
    std::int64_t NextSegmentAt(std::int64_t position) const;
    Rgb Filtered() const;

    Gradient gradient_;
    bool integer_;
    std::int64_t k_, n_, segments_;
    std::int64_t segment_ = 0;
    std::int64_t position_ = 0;
    std::int64_t nextSegmentAt_ = 0; // first position of the next segment
    ChannelStepper red_{0, 0, 0, 0, 1}, green_{0, 0, 0, 0, 1}, blue_{0, 0, 0, 0, 1};
    Rgb mixed_;
    std::int64_t nextMixAt_ = 0; // positions before it are known to keep mixed_
    std::vector<MixPair> pairs_;
    // For each segment, 1 / (a bound on how fast each output channel moves with t).
    std::vector<std::array<double, 3>> slowness_;
    // The last colour filtered: neighbouring units mostly share one, and a filter
    // searches.
    mutable std::optional<std::pair<Rgb, Rgb>> lastFiltered_;
};

} // namespace velmorant
