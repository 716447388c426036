#include "codegen/gradient_stops.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace velmorant {

std::int64_t SegmentOf(std::int64_t i, std::int64_t n, std::int64_t segments) {
    return std::min(i * segments / n, segments - 1);
}

GradientWalker::GradientWalker(const Gradient& gradient, std::int32_t k, std::int32_t n, std::int32_t first)
    : stops_(gradient.stops), oklab_(gradient.blend == Blend::Oklab), k_(k), n_(n),
      segments_(static_cast<std::int64_t>(gradient.stops.size()) - 1) {
    if (segments_ < 1 || n < 1 || k < 1 || first < 0)
        throw std::invalid_argument("GradientWalker: needs two stops, n >= 1, k >= 1 and first >= 0");
    if (oklab_) {
        labs_.reserve(stops_.size());
        for (const Rgb& stop : stops_)
            labs_.push_back(SrgbToOklab(stop));
        MeasureSegments();
        encoder_ = &SrgbEncoder::Shared();
    }
    EnterSegment(first);
}

void GradientWalker::EnterSegment(std::int64_t position) {
    segment_ = SegmentOf(position, n_, segments_);
    // The first i with floor(i * m / n) = segment + 1, i.e. ceil((segment + 1) * n / m).
    nextSegmentAt_ = segment_ + 1 == segments_ ? std::numeric_limits<std::int64_t>::max()
                                               : ((segment_ + 1) * n_ + segments_ - 1) / segments_;
    if (oklab_) {
        MixAt(position);
        return;
    }
    position_ = position;
    const Rgb& from = stops_[static_cast<std::size_t>(segment_)];
    const Rgb& to = stops_[static_cast<std::size_t>(segment_ + 1)];
    const std::int64_t r = position * segments_ - segment_ * n_;
    const std::int64_t stride = k_ * segments_;
    red_ = ChannelStepper(from.red, to.red, r, stride, n_);
    green_ = ChannelStepper(from.green, to.green, r, stride, n_);
    blue_ = ChannelStepper(from.blue, to.blue, r, stride, n_);
}

// Each linear channel is a sum of the cubes of l, m and s, which run straight in t:
// |d/dt| <= sum |M| * 3 * max(l^2) * |dl/dt|.
void GradientWalker::MeasureSegments() {
    const auto& toLms = kOklabToLms;
    const auto& toRgb = kLmsToLinear;
    for (std::size_t j = 0; j + 1 < labs_.size(); ++j) {
        const Oklab& a = labs_[j];
        const Oklab& b = labs_[j + 1];
        std::array<double, 3> rate{};
        for (int i = 0; i < 3; ++i) {
            const double from = toLms[i][0] * a.L + toLms[i][1] * a.a + toLms[i][2] * a.b;
            const double to = toLms[i][0] * b.L + toLms[i][1] * b.a + toLms[i][2] * b.b;
            const double largest = std::max(std::abs(from), std::abs(to));
            rate[i] = 3 * largest * largest * std::abs(to - from);
        }
        std::array<double, 3> slowness{};
        for (int c = 0; c < 3; ++c) {
            double slope = 0;
            for (int i = 0; i < 3; ++i)
                slope += std::abs(toRgb[c][i]) * rate[i];
            slowness[c] = 1 / (slope * 1.001 + 1e-9); // slack for the rounding in the bound itself
        }
        slowness_.push_back(slowness);
    }
}

// The mix at this position, and how many steps on it surely stays the same: as long
// as no channel can have moved as far as the nearest border of its encoded value.
// Both mixes are computed in doubles, each within far less than kError of the exact
// value, so the skipped units get exactly what GradientAt would give them.
void GradientWalker::MixAt(std::int64_t position) {
    constexpr double kError = 1e-12;
    position_ = position;
    const std::int64_t r = position * segments_ - segment_ * n_;
    const Oklab& a = labs_[static_cast<std::size_t>(segment_)];
    const Oklab& b = labs_[static_cast<std::size_t>(segment_ + 1)];
    const double t = static_cast<double>(r) / static_cast<double>(n_);
    const LinearRgb rgb = OklabToLinear({a.L + (b.L - a.L) * t, a.a + (b.a - a.a) * t, a.b + (b.b - a.b) * t});
    std::array<Channel, 3> channels{};
    for (int c = 0; c < 3; ++c)
        channels[c] = encoder_->Encode(rgb[c]);
    mixed_ = {channels[0], channels[1], channels[2]};
    nextMixAt_ = position + k_;
    // t moves by k * m / n per unit: where that is a large part of the segment, skipping rarely pays.
    if (k_ * segments_ * 16 > n_)
        return;
    const std::array<double, 257>& borders = encoder_->Borders();
    const std::array<double, 3>& slowness = slowness_[static_cast<std::size_t>(segment_)];
    double reach = std::numeric_limits<double>::infinity(); // in t
    for (int c = 0; c < 3; ++c) {
        const double room = std::min(rgb[c] - borders[channels[c]], borders[channels[c] + 1] - rgb[c]) - 2 * kError;
        reach = std::min(reach, room <= 0 ? 0 : room * slowness[c]);
    }
    // One step less than the reach, for the rounding of this sum.
    const double steps = reach * static_cast<double>(n_) / static_cast<double>(k_ * segments_);
    const double safe = std::min(steps, 4e18 / static_cast<double>(k_)) - 1;
    nextMixAt_ += k_ * static_cast<std::int64_t>(std::max(0.0, std::floor(safe)));
}

} // namespace velmorant
