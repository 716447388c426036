#include "core/colour/spaces.h"

#include "core/colour/oklab.h"

#include <algorithm>
#include <cmath>
#include <numbers>

// The float replay of Chromium's Oklab path below must round as Chromium's x86-64
// build does: no fused multiply-adds, not even in constants the compiler folds.
// GCC is told so in CMakeLists.txt; the page's build has no flags of ours.
#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace velmorant {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;
using Vec = std::array<double, 3>;

enum class Family : std::uint8_t { Rgb, Xyz, Lab, Oklab, Hsl, Hwb };
enum class Transfer : std::uint8_t { Linear, Srgb, A98, Prophoto, Rec2020 };
// Components that mean the same in two spaces, for carrying a missing one over.
enum class Kind : std::uint8_t { Red, Green, Blue, Lightness, Colourfulness, Hue, OpponentA, OpponentB, Other };

struct SpaceRow {
    Space space;
    std::string_view name;
    Family family;
    Transfer transfer;
    bool d50;     // white point of the XYZ it converts through
    Matrix toXyz; // linear components to XYZ; unused for Lab, Oklab, HSL and HWB
    std::array<Kind, 3> kinds;
    int hue;                  // index of the hue, or -1
    std::string_view summary; // in words a forum poster knows
    Words help;               // the page's; help.en empty: the summary says it
};

constexpr Matrix kIdentity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr Matrix kSrgbToXyz{{{506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
                             {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
                             {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270}}};
constexpr std::array<Kind, 3> kRgbKinds{Kind::Red, Kind::Green, Kind::Blue};
constexpr std::array<Kind, 3> kLabKinds{Kind::Lightness, Kind::OpponentA, Kind::OpponentB};
constexpr std::array<Kind, 3> kLchKinds{Kind::Lightness, Kind::Colourfulness, Kind::Hue};

// The matrices are CSS Color 4's own, so that mixes agree with the browsers'.
constexpr SpaceRow kSpaces[] = {
    {Space::Srgb,
     "srgb",
     Family::Rgb,
     Transfer::Srgb,
     false,
     kSrgbToXyz,
     kRgbKinds,
     -1,
     "each channel on its own, as the window: the middle of two bright colours can turn grey",
     {"each channel on its own, as most forum tools mix: the middle of two bright colours can turn grey",
      "每个通道各自混合，和多数论坛工具一样：两种鲜艳颜色的中间可能发灰"}},
    {Space::SrgbLinear,
     "srgb-linear",
     Family::Rgb,
     Transfer::Linear,
     false,
     kSrgbToXyz,
     kRgbKinds,
     -1,
     "as light adds up: brighter middles than srgb",
     {{}, "按光的叠加混合：中间比 srgb 亮"}},
    {Space::DisplayP3,
     "display-p3",
     Family::Rgb,
     Transfer::Srgb,
     false,
     Matrix{{{608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
             {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
             {0, 32229.0 / 714400, 5220557.0 / 5000800}}},
     kRgbKinds,
     -1,
     "as srgb, on a wide-gamut screen's colours",
     {{}, "同 srgb，用广色域屏幕的颜色"}},
    {Space::A98Rgb,
     "a98-rgb",
     Family::Rgb,
     Transfer::A98,
     false,
     Matrix{{{573536.0 / 994567, 263643.0 / 1420810, 187206.0 / 994567},
             {591459.0 / 1989134, 6239551.0 / 9945670, 374412.0 / 4972835},
             {53769.0 / 1989134, 351524.0 / 4972835, 4929758.0 / 4972835}}},
     kRgbKinds,
     -1,
     "as srgb, on Adobe RGB's colours",
     {{}, "同 srgb，用 Adobe RGB 的颜色"}},
    {Space::ProphotoRgb,
     "prophoto-rgb",
     Family::Rgb,
     Transfer::Prophoto,
     true,
     Matrix{{{0.7977666449006423, 0.13518129740053308, 0.0313477341283922},
             {0.2880748288194013, 0.711835234241873, 0.00008993693872564},
             {0, 0, 0.8251046025104602}}},
     kRgbKinds,
     -1,
     "as srgb, on a camera's very wide colours",
     {{}, "同 srgb，用相机的超广色域"}},
    {Space::Rec2020,
     "rec2020",
     Family::Rgb,
     Transfer::Rec2020,
     false,
     Matrix{{{63426534.0 / 99577255, 20160776.0 / 139408157, 47086771.0 / 278816314},
             {26158966.0 / 99577255, 472592308.0 / 697040785, 8267143.0 / 139408157},
             {0, 19567812.0 / 697040785, 295819943.0 / 278816314}}},
     kRgbKinds,
     -1,
     "as srgb, on ultra-HD television's colours",
     {{}, "同 srgb，用超高清电视的颜色"}},
    {Space::Lab,
     "lab",
     Family::Lab,
     Transfer::Linear,
     true,
     kIdentity,
     kLabKinds,
     -1,
     "by how light, red-green and blue-yellow the colours look (CIE Lab)",
     {{}, "按看起来的明暗、红绿、黄蓝混合（CIE Lab）"}},
    {Space::Oklab,
     "oklab",
     Family::Oklab,
     Transfer::Linear,
     false,
     kIdentity,
     kLabKinds,
     -1,
     "by how light and what hue the colours look, evenly: no grey middle",
     {{}, "按看起来的明暗和色相均匀混合：中间不发灰"}},
    {Space::Xyz,
     "xyz",
     Family::Xyz,
     Transfer::Linear,
     false,
     kIdentity,
     kRgbKinds,
     -1,
     "as light adds up, in the eye's own measures",
     {{}, "按光的叠加，用人眼的度量"}},
    {Space::XyzD50,
     "xyz-d50",
     Family::Xyz,
     Transfer::Linear,
     true,
     kIdentity,
     kRgbKinds,
     -1,
     "as light adds up, in the eye's measures for paper (D50)",
     {{}, "按光的叠加，用纸面的度量（D50）"}},
    {Space::XyzD65,
     "xyz-d65",
     Family::Xyz,
     Transfer::Linear,
     false,
     kIdentity,
     kRgbKinds,
     -1,
     "as light adds up, in the eye's measures for screens (D65)",
     {{}, "按光的叠加，用屏幕的度量（D65）"}},
    {Space::Hsl,
     "hsl",
     Family::Hsl,
     Transfer::Linear,
     false,
     kIdentity,
     {Kind::Hue, Kind::Colourfulness, Kind::Lightness},
     0,
     "round the colour wheel by hue, saturation and lightness",
     {{}, "沿色轮，按色相、饱和度、亮度"}},
    {Space::Hwb,
     "hwb",
     Family::Hwb,
     Transfer::Linear,
     false,
     kIdentity,
     {Kind::Hue, Kind::Other, Kind::Other},
     0,
     "round the colour wheel by hue, whiteness and blackness",
     {{}, "沿色轮，按色相、白度、黑度"}},
    {Space::Lch,
     "lch",
     Family::Lab,
     Transfer::Linear,
     true,
     kIdentity,
     kLchKinds,
     2,
     "round the colour wheel at even lightness (CIE LCH)",
     {{}, "沿色轮，亮度均匀（CIE LCH）"}},
    {Space::Oklch,
     "oklch",
     Family::Oklab,
     Transfer::Linear,
     false,
     kIdentity,
     kLchKinds,
     2,
     "round the colour wheel at even lightness, the most even of all: rainbow-like",
     {{}, "沿色轮，亮度最均匀：像彩虹"}},
};

// Row i is Space i, so Row() indexes instead of searching.
constexpr bool InOrder() {
    for (std::size_t i = 0; i < std::size(kSpaces); ++i)
        if (static_cast<std::size_t>(kSpaces[i].space) != i)
            return false;
    return true;
}
static_assert(InOrder(), "kSpaces lists the spaces in the order of Space");

const SpaceRow& Row(Space space) { return kSpaces[static_cast<std::size_t>(space)]; }

// Bradford adaptation from D65 to D50, as CSS Color 4 gives it.
constexpr Matrix kD65ToD50{{{1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
                            {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
                            {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371}}};
// Lab's white is the rounded D50 Chromium takes, not CSS's: with it and Skia's sRGB
// matrix below, a grey keeps the small chroma (0.0188 for white) Chromium gives it, and
// a near grey the hue Chromium gives it.
constexpr Vec kD50White{0.9642, 1.0, 0.8251};
constexpr double kKappa = 24389.0 / 27;
constexpr double kEpsilon = 216.0 / 24389;
constexpr double kRadians = std::numbers::pi / 180;

Vec Apply(const Matrix& m, const Vec& v) {
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return m;
}

Matrix Invert(const Matrix& m) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int a = (j + 1) % 3, b = (j + 2) % 3, c = (i + 1) % 3, d = (i + 2) % 3;
            r[i][j] = (m[a][c] * m[b][d] - m[a][d] * m[b][c]) / det;
        }
    return r;
}

// Chromium converts A98 RGB, Lab and LCH through Skia's D50 matrices for A98 and
// sRGB, in 16.16 fixed point: taken over, since they differ from CSS's by up to 2
// levels (and more in the hue of a near grey).
constexpr double Fixed(int v) { return v / 65536.0; }
constexpr Matrix kSkiaAdobeToD50{{{Fixed(0x9c18), Fixed(0x348d), Fixed(0x2631)},
                                  {Fixed(0x4fa5), Fixed(0xa02c), Fixed(0x102f)},
                                  {Fixed(0x04fc), Fixed(0x0f95), Fixed(0xbe9c)}}};
constexpr Matrix kSkiaSrgbToD50{{{Fixed(0x6fa2), Fixed(0x6299), Fixed(0x24a0)},
                                 {Fixed(0x38f5), Fixed(0xb785), Fixed(0x0f84)},
                                 {Fixed(0x0390), Fixed(0x18da), Fixed(0xb6cf)}}};

// Each space's linear components to linear sRGB and back, made once.
struct Matrices {
    std::array<Matrix, std::size(kSpaces)> toLinear, fromLinear;
    Matrices() {
        const Matrix xyzToSrgb = Invert(kSrgbToXyz);
        const Matrix d50ToD65 = Invert(kD65ToD50);
        for (const SpaceRow& row : kSpaces) {
            const Matrix toD65 = row.d50 ? Multiply(d50ToD65, row.toXyz) : row.toXyz;
            const auto i = static_cast<std::size_t>(row.space);
            if (row.space == Space::A98Rgb)
                toLinear[i] = Multiply(Invert(kSkiaSrgbToD50), kSkiaAdobeToD50);
            else if (row.family == Family::Lab)
                toLinear[i] = Invert(kSkiaSrgbToD50);
            else
                toLinear[i] = Multiply(xyzToSrgb, toD65);
            fromLinear[i] = Invert(toLinear[i]);
        }
    }
};
const Matrices& Shared() {
    static const Matrices matrices;
    return matrices;
}

double Signed(double v, double magnitude) { return v < 0 ? -magnitude : magnitude; }

constexpr double kRecAlpha = 1.09929682680944, kRecBeta = 0.018053968510807;

double ToLinearLight(Transfer transfer, double v) {
    const double a = std::abs(v);
    switch (transfer) {
    case Transfer::Linear:
        return v;
    case Transfer::Srgb:
        // Written as SrgbToLinear writes it, so that 8-bit stops agree to the bit.
        return a <= 0.04045 ? v / 12.92 : Signed(v, std::pow((a + 0.055) / 1.055, 2.4));
    case Transfer::A98:
        return Signed(v, std::pow(a, 563.0 / 256));
    case Transfer::Prophoto:
        // A plain 1.8 gamma, without CSS's short straight piece near black, as Chromium paints it.
        return Signed(v, std::pow(a, 1.8));
    case Transfer::Rec2020:
        return a < kRecBeta * 4.5 ? v / 4.5 : Signed(v, std::pow((a + kRecAlpha - 1) / kRecAlpha, 1 / 0.45));
    }
    return v;
}

double FromLinearLight(Transfer transfer, double v) {
    const double a = std::abs(v);
    switch (transfer) {
    case Transfer::Linear:
        return v;
    case Transfer::Srgb:
        return a > 0.0031308 ? Signed(v, 1.055 * std::pow(a, 1 / 2.4) - 0.055) : 12.92 * v;
    case Transfer::A98:
        return Signed(v, std::pow(a, 256.0 / 563));
    case Transfer::Prophoto:
        return Signed(v, std::pow(a, 1 / 1.8));
    case Transfer::Rec2020:
        return a > kRecBeta ? Signed(v, kRecAlpha * std::pow(a, 0.45) - (kRecAlpha - 1)) : 4.5 * v;
    }
    return v;
}

// The largest |d/dv| of ToLinearLight for |v| <= a: the curves only steepen.
double TransferSlope(Transfer transfer, double a) {
    switch (transfer) {
    case Transfer::Linear:
        return 1;
    case Transfer::Srgb:
        return std::max(1 / 12.92, 2.4 / 1.055 * std::pow((a + 0.055) / 1.055, 1.4));
    case Transfer::A98:
        return 563.0 / 256 * std::pow(a, 563.0 / 256 - 1);
    case Transfer::Prophoto:
        return std::max(1.0 / 16, 1.8 * std::pow(a, 0.8));
    case Transfer::Rec2020:
        return std::max(1 / 4.5, 1 / 0.45 / kRecAlpha * std::pow((a + kRecAlpha - 1) / kRecAlpha, 1 / 0.45 - 1));
    }
    return 1;
}

double LabF(double v) { return v > kEpsilon ? std::cbrt(v) : (kKappa * v + 16) / 116; }
double LabFInverse(double f) {
    const double cube = f * f * f;
    return cube > kEpsilon ? cube : (116 * f - 16) / kKappa;
}

// Hue 0..360 of gamma-encoded sRGB, and HSL's saturation and lightness; in float
// too, where the float rounding of a near grey decides its hue.
template <typename T> std::array<T, 3> RgbToHsl(const std::array<T, 3>& rgb) {
    const T high = std::max({rgb[0], rgb[1], rgb[2]}), low = std::min({rgb[0], rgb[1], rgb[2]});
    const T l = (high + low) / 2, d = high - low;
    T h = 0, s = 0;
    if (d != 0) {
        s = l == 0 || l == 1 ? 0 : (high - l) / std::min(l, 1 - l);
        if (high == rgb[0])
            h = (rgb[1] - rgb[2]) / d + (rgb[1] < rgb[2] ? 6 : 0);
        else if (high == rgb[1])
            h = (rgb[2] - rgb[0]) / d + 2;
        else
            h = (rgb[0] - rgb[1]) / d + 4;
        h *= 60;
    }
    return {h, s, l};
}

Vec HslToRgb(const Vec& hsl) {
    const double h = std::fmod(std::fmod(hsl[0], 360) + 360, 360), s = hsl[1], l = hsl[2];
    const double a = s * std::min(l, 1 - l);
    const auto f = [&](double n) {
        const double k = std::fmod(n + h / 30, 12);
        return l - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}

Vec HwbToRgb(const Vec& hwb) {
    const double w = hwb[1], b = hwb[2];
    if (w + b >= 1) {
        const double grey = w / (w + b);
        return {grey, grey, grey};
    }
    Vec rgb = HslToRgb({hwb[0], 1, 0.5});
    for (double& v : rgb)
        v = v * (1 - w - b) + w;
    return rgb;
}

Vec ToLinearSrgb(const SpaceColour& colour) {
    Vec c = colour.c;
    for (int k = 0; k < 3; ++k)
        if (colour.missing[k])
            c[k] = 0;
    Vec out = ToOutput(colour.space, c);
    if (!LinearOutput(colour.space))
        for (double& v : out)
            v = ToLinearLight(Transfer::Srgb, v);
    return out;
}

// At or below these a hue means nothing. Chromium takes chroma 0.02 in both LCH
// spaces (found by asking it); HSL and HWB only when exactly grey.
constexpr double kLchAchromatic = 0.02 * (1 + 1e-9), kOklchAchromatic = kLchAchromatic, kHslAchromatic = 1e-9;

Vec Polar(double L, double a, double b) {
    const double h = std::atan2(b, a) / kRadians;
    return {L, std::sqrt(a * a + b * b), h < 0 ? h + 360 : h};
}

// HSL or HWB from gamma-encoded sRGB, its hue powerless within achromatic of grey.
template <typename T> SpaceColour FromEncodedSrgb(const std::array<T, 3>& encoded, Space space, T achromatic) {
    std::array<T, 3> hsl = RgbToHsl(encoded);
    // A red rounding to 6 sixths is hue 0, as the hue methods need it below 360.
    if (hsl[0] >= 360)
        hsl[0] -= 360;
    SpaceColour out{space, {}, {}};
    if (Row(space).family == Family::Hsl) {
        // Beyond sRGB the saturation comes out negative: the same colour the other way round.
        if (hsl[1] < 0) {
            hsl[0] = std::fmod(hsl[0] + 180, T(360));
            hsl[1] = -hsl[1];
        }
        out.c = {hsl[0], hsl[1], hsl[2]};
        out.missing[0] = hsl[1] <= achromatic;
    } else {
        const T w = std::min({encoded[0], encoded[1], encoded[2]});
        const T b = 1 - std::max({encoded[0], encoded[1], encoded[2]});
        out.c = {hsl[0], w, b};
        out.missing[0] = w + b >= 1 - achromatic;
    }
    return out;
}

// Chromium takes an Oklab or OkLCh colour to HSL, HWB, Lab or LCh through float
// XYZ, and a grey there gets its hue (about 185 degrees in HSL) from the float
// rounding on the way: replayed step by step in float, with Chromium's constants
// and order, so that a grey or near grey mixed in those spaces paints as it paints.
namespace replay {

using Vec3 = std::array<float, 3>;
using Matrix3 = std::array<Vec3, 3>;

// skia/ext/skcms_ext.cc Matrix3x3_apply: each row summed left to right.
Vec3 Apply(const Matrix3& m, const Vec3& v) {
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

// skcms.cc skcms_Matrix3x3_concat.
Matrix3 Concat(const Matrix3& a, const Matrix3& b) {
    Matrix3 m{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            m[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
    return m;
}

// skcms.cc skcms_Matrix3x3_invert: worked in double, each entry rounded to float.
Matrix3 Invert(const Matrix3& m) {
    const double a00 = m[0][0], a01 = m[1][0], a02 = m[2][0], a10 = m[0][1], a11 = m[1][1], a12 = m[2][1],
                 a20 = m[0][2], a21 = m[1][2], a22 = m[2][2];
    double b0 = a00 * a11 - a01 * a10, b1 = a00 * a12 - a02 * a10, b2 = a01 * a12 - a02 * a11, b3 = a20, b4 = a21,
           b5 = a22;
    const double invdet = 1.0 / (b0 * b5 - b1 * b4 + b2 * b3);
    for (double* v : {&b0, &b1, &b2, &b3, &b4, &b5})
        *v *= invdet;
    Matrix3 r{};
    r[0][0] = static_cast<float>(a11 * b5 - a12 * b4);
    r[1][0] = static_cast<float>(a02 * b4 - a01 * b5);
    r[2][0] = static_cast<float>(+b2);
    r[0][1] = static_cast<float>(a12 * b3 - a10 * b5);
    r[1][1] = static_cast<float>(a00 * b5 - a02 * b3);
    r[2][1] = static_cast<float>(-b1);
    r[0][2] = static_cast<float>(a10 * b4 - a11 * b3);
    r[1][2] = static_cast<float>(a01 * b3 - a00 * b4);
    r[2][2] = static_cast<float>(+b0);
    return r;
}

struct Curve {
    float g, a, b, c, d, e, f;
};

// skia/ext/skcms_ext.cc TransferFunction_eval, with std::pow.
float Eval(const Curve& fn, float x) {
    const float sign = x < 0 ? -1 : 1;
    const float magnitude = std::abs(x);
    if (magnitude <= fn.d)
        return sign * (fn.c * magnitude + fn.f);
    const float base = std::max(fn.a * magnitude + fn.b, 0.f);
    if (fn.g == 1.f)
        return sign * (base + fn.e);
    return sign * (std::pow(base, fn.g) + fn.e);
}

// skia/ext/skcms_ext.cc TransferFunction_invert: e is refitted so that 1 maps to 1.
Curve Inverse(const Curve& src) {
    Curve inv{0, 0, 0, 0, 0, 0, 0};
    inv.d = src.c * src.d + src.f;
    if (inv.d > 0) {
        inv.c = 1.0f / src.c;
        inv.f = -src.f / src.c;
    }
    const float k = std::pow(src.a, -src.g);
    inv.g = 1.0f / src.g;
    inv.a = k;
    inv.b = -k * src.e;
    inv.e = -src.b / src.a;
    if (inv.a * inv.d + inv.b < 0)
        inv.b = -inv.a * inv.d;
    const float s = Eval(src, 1.0f);
    if (s < inv.d)
        inv.f = 1.0f - inv.c * s;
    else
        inv.e = 1.0f - std::pow(inv.a * s + inv.b, inv.g);
    return inv;
}

// skcms.cc skcms_AdaptToXYZD50: Bradford, from the white at (wx, wy) to skcms's D50.
Matrix3 AdaptToD50(float wx, float wy) {
    const Vec3 white{wx / wy, 1, (1 - wx - wy) / wy};
    const Vec3 d50{0.96422f, 1.0f, 0.82521f};
    const Matrix3 xyzToLms{{{0.8951f, 0.2664f, -0.1614f}, {-0.7502f, 1.7135f, 0.0367f}, {0.0389f, -0.0685f, 1.0296f}}};
    const Matrix3 lmsToXyz{{{0.9869929f, -0.1470543f, 0.1599627f},
                            {0.4323053f, 0.5183603f, 0.0492912f},
                            {-0.0085287f, 0.0400428f, 0.9684867f}}};
    const Vec3 src = Apply(xyzToLms, white), dst = Apply(xyzToLms, d50);
    const Matrix3 scale{{{dst[0] / src[0], 0, 0}, {0, dst[1] / src[1], 0}, {0, 0, dst[2] / src[2]}}};
    return Concat(lmsToXyz, Concat(scale, xyzToLms));
}

constexpr float Fixed(int v) { return static_cast<float>(v) * (1.0f / 65536); }

struct OklabPath {
    Matrix3 oklabToLms, lmsToXyz, d65ToD50, d50ToLinear;
    Curve encode;

    OklabPath()
        // ui/gfx/color_conversions.cc getOklabToLMSMatrix and getXYZToLMSMatrix, the
        // latter applied inverted (Matrix3x3_apply_inverse).
        : oklabToLms{{{0.99999999845051981432f, 0.39633779217376785678f, 0.21580375806075880339f},
                      {1.0000000088817607767f, -0.1055613423236563494f, -0.063854174771705903402f},
                      {1.0000000546724109177f, -0.089484182094965759684f, -1.2914855378640917399f}}},
          lmsToXyz{Invert({{{0.8190224432164319f, 0.3619062562801221f, -0.12887378261216414f},
                            {0.0329836671980271f, 0.9292868468965546f, 0.03614466816999844f},
                            {0.048177199566046255f, 0.26423952494422764f, 0.6335478258136937f}}})},
          // getXYDZ65toXYZD50matrix: D65 as the chromaticity 0.3127, 0.3290.
          d65ToD50{AdaptToD50(0.3127f, 0.3290f)},
          // SkNamedGamut::kSRGB, inverted.
          d50ToLinear{Invert({{{Fixed(0x6FA2), Fixed(0x6299), Fixed(0x24A0)},
                               {Fixed(0x38F5), Fixed(0xB785), Fixed(0x0F84)},
                               {Fixed(0x0390), Fixed(0x18DA), Fixed(0xB6CF)}}})},
          // SkNamedTransferFn::kSRGB, inverted.
          encode{Inverse({2.4f, static_cast<float>(1 / 1.055), static_cast<float>(0.055 / 1.055),
                          static_cast<float>(1 / 12.92), 0.04045f, 0.0f, 0.0f})} {}

    // blink's Color::ExportAsXYZD50Floats for Oklab and OkLCh: color_conversions.cc
    // LchToLab (with base::DegToRad's float constant), OklabToXYZD65, XYZD65ToD50.
    Vec3 ToD50(const SpaceColour& colour) const {
        Vec3 lab{};
        for (int k = 0; k < 3; ++k)
            lab[k] = colour.missing[k] ? 0.0f : static_cast<float>(colour.c[k]);
        lab[0] = std::clamp(lab[0], 0.0f, 1.0f);
        if (IsPolar(colour.space)) {
            const float radians = lab[2] * (std::numbers::pi_v<float> / 180);
            lab = {lab[0], lab[1] * std::cos(radians), lab[1] * std::sin(radians)};
        }
        Vec3 lms = Apply(oklabToLms, lab);
        for (float& v : lms)
            v = v * v * v;
        return Apply(d65ToD50, Apply(lmsToXyz, lms));
    }

    // color_conversions.cc XYZD50TosRGB.
    Vec3 ToSrgb(const Vec3& xyz) const {
        const Vec3 linear = Apply(d50ToLinear, xyz);
        return {Eval(encode, linear[0]), Eval(encode, linear[1]), Eval(encode, linear[2])};
    }

    static const OklabPath& Shared() {
        static const OklabPath path;
        return path;
    }
};

// color_conversions.cc XYZD50ToLab, with its rounded D50 white.
Vec3 ToLab(const Vec3& xyz) {
    const auto f = [](float t) {
        constexpr float limit = (24.0f / 116.0f) * (24.0f / 116.0f) * (24.0f / 116.0f);
        return t <= limit ? (841.0f / 108.0f) * t + (16.0f / 116.0f) : std::pow(t, 1.0f / 3.0f);
    };
    const float x = f(xyz[0] / 0.9642f), y = f(xyz[1] / 1.0f), z = f(xyz[2] / 0.8251f);
    return {116.0f * y - 16.0f, 500.0f * (x - y), 200.0f * (y - z)};
}

// Chromium's hue in HSL or HWB is powerless only when exactly grey in float; in LCh
// at a chroma of 0.02 or less (blink's kAchromaticChromaThreshold).
SpaceColour FromOklab(const SpaceColour& colour, Space to) {
    const OklabPath& path = OklabPath::Shared();
    const Vec3 xyz = path.ToD50(colour);
    if (Row(to).family != Family::Lab)
        return FromEncodedSrgb(path.ToSrgb(xyz), to, 0.0f);
    const Vec3 lab = ToLab(xyz);
    if (!IsPolar(to))
        return {to, {lab[0], lab[1], lab[2]}, {}};
    // color_conversions.cc LabToLch, then blink's AngleToUnitCircleDegrees.
    const float chroma = std::sqrt(lab[1] * lab[1] + lab[2] * lab[2]);
    const float hue = std::atan2(lab[2], lab[1]) * (180 / std::numbers::pi_v<float>);
    SpaceColour out{to, {lab[0], chroma, std::fmod(std::fmod(hue, 360.f) + 360.f, 360.f)}, {}};
    out.missing[2] = chroma <= 0.02f;
    return out;
}

} // namespace replay

SpaceColour FromLinearSrgb(const Vec& linear, Space space) {
    const SpaceRow& row = Row(space);
    const auto i = static_cast<std::size_t>(space);
    SpaceColour out{space, {}, {}};
    switch (row.family) {
    case Family::Rgb: {
        const Vec v = Apply(Shared().fromLinear[i], linear);
        for (int k = 0; k < 3; ++k)
            out.c[k] = FromLinearLight(row.transfer, v[k]);
        break;
    }
    case Family::Xyz:
        out.c = Apply(Shared().fromLinear[i], linear);
        break;
    case Family::Lab: {
        const Vec xyz = Apply(Shared().fromLinear[i], linear);
        const double f0 = LabF(xyz[0] / kD50White[0]), f1 = LabF(xyz[1]), f2 = LabF(xyz[2] / kD50White[2]);
        out.c = {116 * f1 - 16, 500 * (f0 - f1), 200 * (f1 - f2)};
        if (row.hue >= 0) {
            out.c = Polar(out.c[0], out.c[1], out.c[2]);
            out.missing[2] = out.c[1] <= kLchAchromatic;
        }
        break;
    }
    case Family::Oklab: {
        const Oklab lab = LinearToOklab(linear);
        out.c = {lab.L, lab.a, lab.b};
        if (row.hue >= 0) {
            out.c = Polar(lab.L, lab.a, lab.b);
            out.missing[2] = out.c[1] <= kOklchAchromatic;
        }
        break;
    }
    case Family::Hsl:
    case Family::Hwb: {
        Vec encoded{};
        for (int k = 0; k < 3; ++k)
            encoded[k] = FromLinearLight(Transfer::Srgb, linear[k]);
        out = FromEncodedSrgb(encoded, space, kHslAchromatic);
        break;
    }
    }
    return out;
}

} // namespace

Vec ToOutput(Space space, const Vec& c) {
    const SpaceRow& row = Row(space);
    const auto i = static_cast<std::size_t>(space);
    switch (row.family) {
    case Family::Rgb:
        if (space == Space::Srgb)
            return c;
        return Apply(Shared().toLinear[i], {ToLinearLight(row.transfer, c[0]), ToLinearLight(row.transfer, c[1]),
                                            ToLinearLight(row.transfer, c[2])});
    case Family::Xyz:
        return Apply(Shared().toLinear[i], c);
    // A mix's lightness is clamped, as Chromium clamps it, only once mixed.
    case Family::Lab: {
        const double L = std::clamp(c[0], 0.0, 100.0);
        const double a = row.hue < 0 ? c[1] : c[1] * std::cos(c[2] * kRadians);
        const double b = row.hue < 0 ? c[2] : c[1] * std::sin(c[2] * kRadians);
        const double f1 = (L + 16) / 116, f0 = a / 500 + f1, f2 = f1 - b / 200;
        const Vec xyz{LabFInverse(f0) * kD50White[0], (L > kKappa * kEpsilon ? f1 * f1 * f1 : L / kKappa),
                      LabFInverse(f2) * kD50White[2]};
        return Apply(Shared().toLinear[i], xyz);
    }
    case Family::Oklab: {
        // sRGB's own colours all lie inside, so the clamp leaves the Oklab blend as it was.
        const double L = std::clamp(c[0], 0.0, 1.0);
        if (row.hue < 0)
            return OklabToLinear({L, c[1], c[2]});
        return OklabToLinear({L, c[1] * std::cos(c[2] * kRadians), c[1] * std::sin(c[2] * kRadians)});
    }
    case Family::Hsl:
        return HslToRgb(c);
    case Family::Hwb:
        return HwbToRgb(c);
    }
    return c;
}

std::vector<Space> Spaces() {
    std::vector<Space> spaces;
    for (const SpaceRow& row : kSpaces)
        spaces.push_back(row.space);
    return spaces;
}

std::vector<std::string_view> BlendNames() {
    std::vector<std::string_view> names;
    for (const SpaceRow& row : kSpaces)
        names.push_back(row.name);
    return names;
}

std::string_view SpaceName(Space space) { return Row(space).name; }
std::string_view BlendSummary(Space space) { return Row(space).summary; }
Words BlendHelp(Space space) { return Row(space).help; }
std::optional<std::size_t> HueComponent(Space space) {
    const int hue = Row(space).hue;
    return hue < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(hue));
}
bool IsPolar(Space space) { return Row(space).hue >= 0; }
bool LinearOutput(Space space) {
    const Family family = Row(space).family;
    return space != Space::Srgb && family != Family::Hsl && family != Family::Hwb;
}

SpaceColour FromRgb(Rgb colour) {
    return {Space::Srgb, {colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0}, {}};
}

SpaceColour Convert(const SpaceColour& colour, Space to) {
    if (colour.space == to)
        return colour;
    SpaceColour out;
    if (colour.space == Space::Oklab && to == Space::Oklch) {
        // Chromium takes this one step directly and leaves the hue in -180..180,
        // where the hue methods then place it: followed, as the browser paints it.
        const double h = std::atan2(colour.c[2], colour.c[1]) / kRadians;
        out = {to, {colour.c[0], std::hypot(colour.c[1], colour.c[2]), h}, {}};
        out.missing[2] = out.c[1] <= kOklchAchromatic;
    } else if (Row(colour.space).family == Family::Oklab &&
               (Row(to).family == Family::Hsl || Row(to).family == Family::Hwb || Row(to).family == Family::Lab)) {
        out = replay::FromOklab(colour, to);
    } else {
        out = FromLinearSrgb(ToLinearSrgb(colour), to);
    }
    const SpaceRow& from = Row(colour.space);
    const SpaceRow& into = Row(to);
    for (int k = 0; k < 3; ++k) {
        if (!colour.missing[k] || from.kinds[k] == Kind::Other)
            continue;
        for (int j = 0; j < 3; ++j)
            if (into.kinds[j] == from.kinds[k])
                out.missing[j] = true;
    }
    // Chromium carries a and b, both missing, into chroma and hue, and back; neither
    // alone (found by asking it).
    const auto opponents = [](const SpaceRow& row) { return row.kinds == kLabKinds || row.kinds == kLchKinds; };
    if (opponents(from) && opponents(into) && colour.missing[1] && colour.missing[2])
        out.missing[1] = out.missing[2] = true;
    return out;
}

Channel EncodeGamma(double encoded) {
    const double scaled = encoded * 255;
    if (!(scaled > 0))
        return 0;
    if (scaled >= 255)
        return 255;
    return static_cast<Channel>(std::nearbyint(scaled));
}

Rgb ToRgb(const SpaceColour& colour) {
    const Vec linear = ToLinearSrgb(colour);
    const SrgbEncoder& encoder = SrgbEncoder::Shared();
    return {encoder.Encode(linear[0]), encoder.Encode(linear[1]), encoder.Encode(linear[2])};
}

// Each stage's bound on |d/dt| feeds the next: a component's rate and largest
// size, through the polar step, the transfer curve or cube, and the matrix.
std::array<double, 3> OutputRates(Space space, const std::array<double, 3>& from, const std::array<double, 3>& to) {
    const SpaceRow& row = Row(space);
    Vec rate{}, size{};
    for (int k = 0; k < 3; ++k) {
        rate[k] = std::abs(to[k] - from[k]);
        size[k] = std::max(std::abs(from[k]), std::abs(to[k]));
    }
    const auto throughMatrix = [](const Matrix& m, const Vec& r) {
        Vec out{};
        for (int i = 0; i < 3; ++i)
            out[i] = std::abs(m[i][0]) * r[0] + std::abs(m[i][1]) * r[1] + std::abs(m[i][2]) * r[2];
        return out;
    };
    // a = C cos h, b = C sin h
    if (row.hue == 2) {
        const double turn = rate[1] + size[1] * rate[2] * kRadians;
        rate = {rate[0], turn, turn};
        size = {size[0], size[1], size[1]};
    }
    const auto i = static_cast<std::size_t>(space);
    switch (row.family) {
    case Family::Rgb: {
        if (space == Space::Srgb)
            return rate;
        for (int k = 0; k < 3; ++k)
            rate[k] *= TransferSlope(row.transfer, size[k]);
        return throughMatrix(Shared().toLinear[i], rate);
    }
    case Family::Xyz:
        return throughMatrix(Shared().toLinear[i], rate);
    case Family::Lab: {
        const double f1 = (size[0] + 16) / 116, r1 = rate[0] / 116;
        const double f0 = size[1] / 500 + f1, r0 = rate[1] / 500 + r1;
        const double f2 = size[2] / 200 + f1, r2 = rate[2] / 200 + r1;
        const auto slope = [](double f) { return std::max(3 * f * f, 116 / kKappa); };
        return throughMatrix(Shared().toLinear[i],
                             {slope(f0) * r0 * kD50White[0], slope(f1) * r1, slope(f2) * r2 * kD50White[2]});
    }
    case Family::Oklab: {
        Vec cones{};
        for (int k = 0; k < 3; ++k) {
            const auto& m = kOklabToLms[k];
            double largest = 0, moving = 0;
            if (row.hue < 0) {
                // Straight in t: the largest value is at an end.
                const double a = m[0] * from[0] + m[1] * from[1] + m[2] * from[2];
                const double b = m[0] * to[0] + m[1] * to[1] + m[2] * to[2];
                largest = std::max(std::abs(a), std::abs(b));
                moving = std::abs(b - a);
            } else {
                largest = std::abs(m[0]) * size[0] + std::abs(m[1]) * size[1] + std::abs(m[2]) * size[2];
                moving = std::abs(m[0]) * rate[0] + std::abs(m[1]) * rate[1] + std::abs(m[2]) * rate[2];
            }
            cones[k] = 3 * largest * largest * moving;
        }
        Matrix toRgb{};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                toRgb[r][c] = kLmsToLinear[r][c];
        return throughMatrix(toRgb, cones);
    }
    case Family::Hsl: {
        // l - a * g(h / 30 + n), g piecewise with slopes 0 and 1, a = s * min(l, 1 - l)
        const double lo = std::min(from[2], to[2]), hi = std::max(from[2], to[2]);
        double half = std::max({std::abs(std::min(lo, 1 - lo)), std::abs(std::min(hi, 1 - hi))});
        if (lo <= 0.5 && hi >= 0.5)
            half = std::max(half, 0.5);
        const double a = size[1] * half, da = rate[1] * half + size[1] * rate[2];
        const double r = rate[2] + da + a * rate[0] / 30;
        return {r, r, r};
    }
    case Family::Hwb: {
        const double grey = rate[1] * size[2] + size[1] * rate[2] + rate[1] + rate[2];
        const double hue = rate[0] / 60 * (1 + size[1] + size[2]) + 2 * rate[1] + rate[2];
        const double r = std::max(grey, hue);
        return {r, r, r};
    }
    }
    return rate;
}

} // namespace velmorant
