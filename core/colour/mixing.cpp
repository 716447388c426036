#include "core/colour/mixing.h"

#include "core/colour/oklab.h"

namespace velmorant {

namespace {

struct HueMethodRow {
    HueMethod method;
    std::string_view name;
    std::string_view summary;
};

// In the order of HueMethod.
constexpr HueMethodRow kHueMethods[] = {
    {HueMethod::Shorter, "shorter", "the short way round the hues"},
    {HueMethod::Longer, "longer", "rainbow-like: the long way round the hues"},
    {HueMethod::Increasing, "increasing", "always up the hue wheel (red, yellow, green, blue)"},
    {HueMethod::Decreasing, "decreasing", "always down the hue wheel (red, violet, blue, green)"},
};
constexpr bool InOrder() {
    for (std::size_t i = 0; i < std::size(kHueMethods); ++i)
        if (static_cast<std::size_t>(kHueMethods[i].method) != i)
            return false;
    return true;
}
static_assert(InOrder(), "kHueMethods lists the methods in the order of HueMethod");

const HueMethodRow& Row(HueMethod method) { return kHueMethods[static_cast<std::size_t>(method)]; }

} // namespace

std::vector<HueMethod> HueMethods() {
    std::vector<HueMethod> methods;
    for (const HueMethodRow& row : kHueMethods)
        methods.push_back(row.method);
    return methods;
}

std::vector<std::string_view> HueMethodNames() {
    std::vector<std::string_view> names;
    for (const HueMethodRow& row : kHueMethods)
        names.push_back(row.name);
    return names;
}

std::string_view HueMethodName(HueMethod method) { return Row(method).name; }
std::string_view HueMethodSummary(HueMethod method) { return Row(method).summary; }

MixPair::MixPair(const SpaceColour& a, const SpaceColour& b, const Blend& blend) : space(blend.space) {
    const SpaceColour x = Convert(a, space), y = Convert(b, space);
    for (int k = 0; k < 3; ++k) {
        from[k] = x.missing[k] ? y.c[k] : x.c[k];
        to[k] = y.missing[k] ? x.c[k] : y.c[k];
        if (x.missing[k] && y.missing[k])
            from[k] = to[k] = 0;
    }
    // A hue missing on both sides stays where it is, whatever the method.
    const std::optional<std::size_t> hue = HueComponent(space);
    if (!hue || (x.missing[*hue] && y.missing[*hue]))
        return;
    // Hues come in 0..360 from reading and converting (with Chromium's one exception above).
    double& h1 = from[*hue];
    double& h2 = to[*hue];
    const double d = h2 - h1;
    switch (blend.hue) {
    case HueMethod::Shorter:
        if (d > 180)
            h1 += 360;
        else if (d < -180)
            h2 += 360;
        break;
    case HueMethod::Longer:
        if (d > 0 && d < 180)
            h1 += 360;
        else if (d > -180 && d <= 0)
            h2 += 360;
        break;
    case HueMethod::Increasing:
        if (d < 0)
            h2 += 360;
        break;
    case HueMethod::Decreasing:
        if (d > 0)
            h1 += 360;
        break;
    }
}

std::array<double, 3> MixPair::OutputAt(double t) const {
    return ToOutput(
        space, {from[0] + (to[0] - from[0]) * t, from[1] + (to[1] - from[1]) * t, from[2] + (to[2] - from[2]) * t});
}

Rgb MixPair::At(double t) const {
    const std::array<double, 3> v = OutputAt(t);
    if (!LinearOutput(space))
        return {EncodeGamma(v[0]), EncodeGamma(v[1]), EncodeGamma(v[2])};
    const SrgbEncoder& encoder = SrgbEncoder::Shared();
    return {encoder.Encode(v[0]), encoder.Encode(v[1]), encoder.Encode(v[2])};
}

} // namespace velmorant
