#include "codegen/gradient_stops.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace velmorant {

namespace {

// start + delta * r / n rounded half to even, exact: as ChannelStepper::Value.
Channel ExactMix(Channel start, Channel end, std::int64_t r, std::int64_t n) {
    const std::int64_t product = (static_cast<std::int64_t>(end) - start) * r;
    std::int64_t quotient = product / n;
    std::int64_t remainder = product % n;
    if (remainder < 0) {
        remainder += n;
        --quotient;
    }
    std::int64_t value = start + quotient;
    if (2 * remainder > n || (2 * remainder == n && (value & 1) != 0))
        ++value;
    return static_cast<Channel>(value);
}

} // namespace

std::int64_t SegmentOf(std::int64_t i, std::int64_t n, std::int64_t segments) {
    return std::min(i * segments / n, segments - 1);
}

Rgb GradientAt(const Gradient& gradient, std::int32_t i, std::int32_t n) {
    const auto m = static_cast<std::int64_t>(gradient.stops.size()) - 1;
    const std::int64_t j = SegmentOf(i, n, m);
    const std::int64_t r = i * m - j * n; // i's offset into the segment, in n-ths of a segment
    const Rgb& from = gradient.stops[static_cast<std::size_t>(j)];
    const Rgb& to = gradient.stops[static_cast<std::size_t>(j + 1)];
    if (gradient.blend == Blend::Srgb)
        return {ExactMix(from.red, to.red, r, n), ExactMix(from.green, to.green, r, n),
                ExactMix(from.blue, to.blue, r, n)};
    const Oklab a = SrgbToOklab(from), b = SrgbToOklab(to);
    const double t = static_cast<double>(r) / static_cast<double>(n);
    const LinearRgb rgb = OklabToLinear({a.L + (b.L - a.L) * t, a.a + (b.a - a.a) * t, a.b + (b.b - a.b) * t});
    return {EncodeSrgbDirect(rgb[0]), EncodeSrgbDirect(rgb[1]), EncodeSrgbDirect(rgb[2])};
}

GradientWalker::GradientWalker(const Gradient& gradient, std::int32_t k, std::int32_t n)
    : stops_(gradient.stops), oklab_(gradient.blend == Blend::Oklab), k_(k), n_(n),
      segments_(static_cast<std::int64_t>(gradient.stops.size()) - 1) {
    if (segments_ < 1 || n < 1 || k < 1)
        throw std::invalid_argument("GradientWalker: needs two stops, n >= 1 and k >= 1");
    if (oklab_) {
        labs_.reserve(stops_.size());
        for (const Rgb& stop : stops_)
            labs_.push_back(SrgbToOklab(stop));
        MeasureSegments();
        encoder_ = &SrgbEncoder::Shared();
    }
    EnterSegment(1);
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
    static constexpr double toLms[3][3] = {
        {1, 0.3963377774, 0.2158037573}, {1, -0.1055613458, -0.0638541728}, {1, -0.0894841775, -1.2914855480}};
    static constexpr double toRgb[3][3] = {{4.0767416621, -3.3077115913, 0.2309699292},
                                           {-1.2684380046, 2.6097574011, -0.3413193965},
                                           {-0.0041960863, -0.7034186147, 1.7076147010}};
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
