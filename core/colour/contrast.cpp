#include "core/colour/contrast.h"

#include "core/colour/colour_sets.h"
#include "core/colour/oklab.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace velmorant {

namespace {

// APCA-W3 0.0.98G-4g, as the apca-w3 package (0.1.9) publishes it: the SA98G
// constants of src/apca-w3.js lines 146-178, APCAcontrast() lines 191-263 and
// sRGBtoY() lines 623-648.
constexpr double kMainTrc = 2.4;
constexpr double kRedY = 0.2126729, kGreenY = 0.7151522, kBlueY = 0.0721750;
constexpr double kNormBg = 0.56, kNormText = 0.57, kRevText = 0.62, kRevBg = 0.65;
constexpr double kBlackThreshold = 0.022, kBlackClamp = 1.414;
constexpr double kScaleBoW = 1.14, kScaleWoB = 1.14;
constexpr double kLoBoWOffset = 0.027, kLoWoBOffset = 0.027;
constexpr double kDeltaYMin = 0.0005, kLoClip = 0.1;

// APCA's own screen luminance: a plain 2.4 power, not sRGB's piecewise curve.
double ApcaY(Rgb c) {
    const auto simple = [](Channel v) { return std::pow(v / 255.0, kMainTrc); };
    return kRedY * simple(c.red) + kGreenY * simple(c.green) + kBlueY * simple(c.blue);
}

double SoftClampBlack(double y) { return y > kBlackThreshold ? y : y + std::pow(kBlackThreshold - y, kBlackClamp); }

struct Oklch {
    double L, C, h; // h in radians
};

Oklch ToOklch(Rgb colour) {
    const Oklab lab = SrgbToOklab(colour);
    return {lab.L, std::hypot(lab.a, lab.b), std::atan2(lab.b, lab.a)};
}

bool InGamut(const LinearRgb& rgb) {
    constexpr double kEps = 1e-9;
    return std::all_of(rgb.begin(), rgb.end(), [](double v) { return v >= -kEps && v <= 1 + kEps; });
}

LinearRgb LinearOf(double L, double C, double h) { return OklabToLinear({L, C * std::cos(h), C * std::sin(h)}); }

// Lightness L at hue h with the most of chroma C that sRGB holds: lowering chroma
// keeps lightness and hue, where clipping would change both.
Rgb AtLightness(double L, double C, double h) {
    LinearRgb rgb = LinearOf(L, C, h);
    if (!InGamut(rgb)) {
        double lo = 0, hi = C;
        for (int i = 0; i < 14; ++i) {
            const double mid = (lo + hi) / 2;
            (InGamut(LinearOf(L, mid, h)) ? lo : hi) = mid;
        }
        rgb = LinearOf(L, lo, h);
    }
    return {EncodeSrgbDirect(rgb[0]), EncodeSrgbDirect(rgb[1]), EncodeSrgbDirect(rgb[2])};
}

// The colour nearest in lightness toward end (0 or 1) that meets the target, if the end does.
std::optional<Rgb> Toward(const Oklch& from, double end, Rgb background, const ContrastTarget& target) {
    Rgb reached = AtLightness(end, from.C, from.h);
    if (!MeetsTarget(target, reached, background))
        return std::nullopt;
    // lo fails, hi meets: each halving keeps that, so the answer surely meets it.
    double lo = from.L, hi = end;
    for (int i = 0; i < 18; ++i) {
        const double mid = (lo + hi) / 2;
        const Rgb colour = AtLightness(mid, from.C, from.h);
        if (MeetsTarget(target, colour, background)) {
            hi = mid;
            reached = colour;
        } else {
            lo = mid;
        }
    }
    return reached;
}

} // namespace

double RelativeLuminance(Rgb colour) {
    return 0.2126 * SrgbToLinear(colour.red) + 0.7152 * SrgbToLinear(colour.green) + 0.0722 * SrgbToLinear(colour.blue);
}

double ContrastRatio(Rgb a, Rgb b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double ApcaLc(Rgb text, Rgb background) {
    const double textY = SoftClampBlack(ApcaY(text));
    const double backgroundY = SoftClampBlack(ApcaY(background));
    if (std::abs(backgroundY - textY) < kDeltaYMin)
        return 0;
    if (backgroundY > textY) {
        const double sapc = (std::pow(backgroundY, kNormBg) - std::pow(textY, kNormText)) * kScaleBoW;
        return sapc < kLoClip ? 0 : (sapc - kLoBoWOffset) * 100;
    }
    const double sapc = (std::pow(backgroundY, kRevBg) - std::pow(textY, kRevText)) * kScaleWoB;
    return sapc > -kLoClip ? 0 : (sapc + kLoWoBOffset) * 100;
}

std::optional<ReadableGoal> ReadReadableGoal(std::string_view text) {
    if (text.empty() || text == "aa")
        return ReadableGoal{};
    if (text == "aaa")
        return ReadableGoal{ReadableGoal::Kind::Aaa};
    constexpr std::string_view kApca = "apca-";
    if (!text.starts_with(kApca))
        return std::nullopt;
    text.remove_prefix(kApca.size());
    int lc = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), lc);
    // Lc 106 is black on white, the most APCA gives.
    if (error != std::errc{} || end != text.data() + text.size() || lc < 1 || lc > 106)
        return std::nullopt;
    return ReadableGoal{ReadableGoal::Kind::Apca, static_cast<double>(lc)};
}

std::string ReadableGoalText(const ReadableGoal& goal) {
    switch (goal.kind) {
    case ReadableGoal::Kind::Aa:
        return "aa";
    case ReadableGoal::Kind::Aaa:
        return "aaa";
    case ReadableGoal::Kind::Apca:
        break;
    }
    return "apca-" + std::to_string(static_cast<int>(goal.lc));
}

ContrastTarget TargetOf(const ReadableGoal& goal, bool largeText) {
    switch (goal.kind) {
    case ReadableGoal::Kind::Aa:
        return {false, largeText ? 3.0 : 4.5};
    case ReadableGoal::Kind::Aaa:
        return {false, largeText ? 4.5 : 7.0};
    case ReadableGoal::Kind::Apca:
        break;
    }
    return {true, goal.lc};
}

double ContrastScore(const ContrastTarget& target, Rgb colour, Rgb background) {
    return target.apca ? std::abs(ApcaLc(colour, background)) : ContrastRatio(colour, background);
}

Rgb MakeReadable(Rgb colour, Rgb background, const ContrastTarget& target) {
    if (MeetsTarget(target, colour, background))
        return colour;
    const Oklch from = ToOklch(colour);
    const std::optional<Rgb> darker = Toward(from, 0, background, target);
    const std::optional<Rgb> lighter = Toward(from, 1, background, target);
    if (darker && lighter)
        return OklabDistance(colour, *darker) <= OklabDistance(colour, *lighter) ? *darker : *lighter;
    if (darker || lighter)
        return darker ? *darker : *lighter;
    const Rgb black{0, 0, 0}, white{255, 255, 255};
    return ContrastScore(target, black, background) >= ContrastScore(target, white, background) ? black : white;
}

} // namespace velmorant
