#include "codegen/gradient_stops.h"

#include <algorithm>
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

void GradientWalker::MixAt(std::int64_t position) {
    position_ = position;
    const std::int64_t r = position * segments_ - segment_ * n_;
    const Oklab& a = labs_[static_cast<std::size_t>(segment_)];
    const Oklab& b = labs_[static_cast<std::size_t>(segment_ + 1)];
    mixed_ = OklabMix(a, b, static_cast<double>(r) / static_cast<double>(n_));
}

} // namespace velmorant
