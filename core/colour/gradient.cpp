#include "core/colour/gradient.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace velmorant {

std::int64_t SegmentOf(std::int64_t i, std::int64_t n, std::int64_t segments) {
    return std::min(i * segments / n, segments - 1);
}

SegmentPoint PointOf(const Gradient& gradient, std::int64_t i, std::int64_t n) {
    const auto m = static_cast<std::int64_t>(gradient.stops.size()) - 1;
    if (gradient.positions.empty()) {
        const std::int64_t j = SegmentOf(i, n, m);
        return {j, static_cast<double>(i * m - j * n) / static_cast<double>(n)};
    }
    const std::vector<double>& at = gradient.positions;
    const double p = static_cast<double>(i) / static_cast<double>(n);
    // The last of the first m stops at or before p.
    const auto after = std::upper_bound(at.begin(), at.end() - 1, p);
    const std::int64_t j = after == at.begin() ? 0 : after - at.begin() - 1;
    const double from = at[static_cast<std::size_t>(j)], to = at[static_cast<std::size_t>(j + 1)];
    if (!(to > from))
        return {j, p >= to ? 1.0 : 0.0};
    return {j, std::clamp((p - from) / (to - from), 0.0, 1.0)};
}

Rgb MixAtPosition(const Gradient& gradient, std::int64_t i, std::int64_t n) {
    const SegmentPoint point = PointOf(gradient, i, n);
    const auto j = static_cast<std::size_t>(point.segment);
    return MixPair(gradient.Stop(j), gradient.Stop(j + 1), gradient.blend).At(point.t);
}

GradientWalker::GradientWalker(const Gradient& gradient, std::int32_t k, std::int32_t n, std::int32_t first)
    : gradient_(gradient), integer_(gradient.IntegerRule()), k_(k), n_(n),
      segments_(static_cast<std::int64_t>(gradient.stops.size()) - 1) {
    if (segments_ < 1 || n < 1 || k < 1 || first < 0 ||
        (!gradient.exact.empty() && gradient.exact.size() != gradient.stops.size()) ||
        (!gradient.positions.empty() && gradient.positions.size() != gradient.stops.size()))
        throw std::invalid_argument("GradientWalker: needs two stops, n >= 1, k >= 1 and first >= 0");
    if (!integer_) {
        for (std::size_t j = 0; j + 1 < gradient.stops.size(); ++j) {
            pairs_.emplace_back(gradient.Stop(j), gradient.Stop(j + 1), gradient.blend);
            const std::array<double, 3> rates = pairs_.back().Rates();
            std::array<double, 3> slowness{};
            for (int c = 0; c < 3; ++c)
                slowness[c] = 1 / (rates[c] * 1.001 + 1e-9); // slack for the rounding in the bound itself
            slowness_.push_back(slowness);
        }
    }
    EnterSegment(first);
}

Rgb GradientWalker::Filtered() const {
    const Rgb colour = Unfiltered();
    if (!lastFiltered_ || lastFiltered_->first != colour)
        lastFiltered_.emplace(colour, MakeReadable(colour, gradient_.readable->background, gradient_.readable->target));
    return lastFiltered_->second;
}

std::int64_t GradientWalker::NextSegmentAt(std::int64_t position) const {
    if (segment_ + 1 == segments_)
        return std::numeric_limits<std::int64_t>::max();
    // The first i with floor(i * m / n) = segment + 1, i.e. ceil((segment + 1) * n / m).
    if (gradient_.positions.empty())
        return ((segment_ + 1) * n_ + segments_ - 1) / segments_;
    // Near where the next stop lies, then settled by the very comparison PointOf makes.
    const double next = gradient_.positions[static_cast<std::size_t>(segment_ + 1)];
    std::int64_t i =
        std::max(position + 1, static_cast<std::int64_t>(std::ceil(std::min(next, 2.0) * static_cast<double>(n_))));
    while (i - 1 > position && PointOf(gradient_, i - 1, n_).segment != segment_)
        --i;
    while (i <= 2 * n_ && PointOf(gradient_, i, n_).segment == segment_)
        ++i;
    return i > 2 * n_ ? std::numeric_limits<std::int64_t>::max() : i;
}

void GradientWalker::EnterSegment(std::int64_t position) {
    segment_ = PointOf(gradient_, position, n_).segment;
    nextSegmentAt_ = NextSegmentAt(position);
    if (!integer_) {
        MixAt(position);
        return;
    }
    position_ = position;
    const Rgb& from = gradient_.stops[static_cast<std::size_t>(segment_)];
    const Rgb& to = gradient_.stops[static_cast<std::size_t>(segment_ + 1)];
    const std::int64_t r = position * segments_ - segment_ * n_;
    const std::int64_t stride = k_ * segments_;
    red_ = ChannelStepper(from.red, to.red, r, stride, n_);
    green_ = ChannelStepper(from.green, to.green, r, stride, n_);
    blue_ = ChannelStepper(from.blue, to.blue, r, stride, n_);
}

namespace {

// Where each 8-bit value starts among gamma-encoded values, as EncodeGamma rounds.
const std::array<double, 257>& GammaBorders() {
    static const std::array<double, 257> borders = [] {
        std::array<double, 257> b{};
        b[0] = -std::numeric_limits<double>::infinity();
        for (int v = 1; v <= 255; ++v)
            b[static_cast<std::size_t>(v)] = (v - 0.5) / 255;
        b[256] = std::numeric_limits<double>::infinity();
        return b;
    }();
    return borders;
}

} // namespace

// The mix at this position, and how many steps on it surely stays the same: as long
// as no channel can have moved as far as the nearest border of its encoded value.
// Both mixes are computed in doubles, each within far less than kSlack of the exact
// value (which also covers the tiny steps where a transfer curve changes pieces),
// so the skipped units get exactly what MixAtPosition would give them.
void GradientWalker::MixAt(std::int64_t position) {
    constexpr double kSlack = 1e-7;
    position_ = position;
    const SegmentPoint point = PointOf(gradient_, position, n_);
    const MixPair& pair = pairs_[static_cast<std::size_t>(segment_)];
    const std::array<double, 3> value = pair.OutputAt(point.t);
    const bool linear = LinearOutput(pair.space);
    const SrgbEncoder& encoder = SrgbEncoder::Shared();
    std::array<Channel, 3> channels{};
    for (int c = 0; c < 3; ++c)
        channels[c] = linear ? encoder.Encode(value[c]) : EncodeGamma(value[c]);
    mixed_ = {channels[0], channels[1], channels[2]};
    nextMixAt_ = position + k_;
    // How far t moves per unit at most; where that is a large part of the segment, skipping rarely pays.
    double perUnit = static_cast<double>(segments_) / static_cast<double>(n_);
    if (!gradient_.positions.empty()) {
        const auto j = static_cast<std::size_t>(segment_);
        const double span = gradient_.positions[j + 1] - gradient_.positions[j];
        // A stop on top of another jumps from one colour to the next: no skipping there.
        perUnit = span > 0 ? 1 / (span * static_cast<double>(n_)) : 1;
    }
    perUnit *= static_cast<double>(k_);
    if (perUnit * 16 > 1)
        return;
    const std::array<double, 257>& borders = linear ? encoder.Borders() : GammaBorders();
    const std::array<double, 3>& slowness = slowness_[static_cast<std::size_t>(segment_)];
    double reach = std::numeric_limits<double>::infinity(); // in t
    for (int c = 0; c < 3; ++c) {
        const double room = std::min(value[c] - borders[channels[c]], borders[channels[c] + 1] - value[c]) - kSlack;
        reach = std::min(reach, room <= 0 ? 0 : room * slowness[c]);
    }
    // One step less than the reach, for the rounding of this sum.
    const double steps = reach / perUnit;
    const double safe = std::min(steps, 4e18 / static_cast<double>(k_)) - 1;
    nextMixAt_ += k_ * static_cast<std::int64_t>(std::max(0.0, std::floor(safe)));
}

} // namespace velmorant
