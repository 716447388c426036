#include "core/colour/channel_stepper.h"
#include "core/colour/colour.h"
#include "core/colour/colour_names.h"
#include "core/colour/colour_text.h"
#include "core/colour/css_colour.h"
#include "core/colour/gradient.h"
#include "core/colour/mixing.h"
#include "core/colour/oklab.h"
#include "core/colour/spaces.h"
#include "reference_rules.h"

#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <optional>
#include <random>
#include <set>

namespace velmorant {
namespace {

TEST(SplitRGB, Table) {
    struct Row {
        const char* name;
        std::int32_t value; // as the chooser answers: red in the low byte
        ChannelTriple expected;
    } rows[] = {
        {"black", 0, {0, 0, 0}},
        {"white", 16777215, {255, 255, 255}},
        {"hex 123456", 1193046, {0x56, 0x34, 0x12}},
        {"top byte lands in blue", 16777216, {0, 0, 256}},
        {"minus one truncates", -1, {-1, 0, 0}},
        {"minus 65536", -65536, {0, 0, -1}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SplitRGB(row.value), row.expected) << row.name;
}

TEST(HexText, Table) {
    struct Row {
        std::int16_t v;
        std::u16string expected;
    } rows[] = {{0, u"0"}, {10, u"A"}, {255, u"FF"}, {4096, u"1000"}, {-1, u"FFFF"}, {-32768, u"8000"}};
    for (const Row& row : rows)
        EXPECT_EQ(HexText(row.v), row.expected) << "v = " << row.v;
}

TEST(HexPair, Table) {
    struct Row {
        const char* name;
        std::u16string hex, expected;
    } rows[] = {
        {"one digit", u"F", u"0F"},     {"two digits", u"FF", u"FF"},
        {"empty", u"", u"00"},          {"four digits", u"FFFF", u""},
        {"three digits", u"100", u""},  {"blank then F", u" F", u"0 F"},
        {"blanks only", u"   ", u"00"}, {"blank-padded pair", u" AB ", u" AB "},
    };
    for (const Row& row : rows)
        EXPECT_EQ(HexPair(row.hex), row.expected) << row.name;
}

TEST(InterpolateChannel, Table) {
    struct Row {
        const char* name;
        Channel start, end;
        std::int32_t i, n;
        Channel expected;
    } rows[] = {
        {"down tie to even", 255, 0, 1, 2, 128},
        {"up tie to even", 0, 255, 1, 2, 128},
        {"190.5 to 190", 254, 0, 1, 4, 190},
        {"63.5 to 64", 254, 0, 3, 4, 64},
        {"thirds 1", 255, 0, 1, 3, 170},
        {"thirds 2", 255, 0, 2, 3, 85},
        {"thirds 3", 255, 0, 3, 3, 0},
        {"quarters 1", 255, 0, 1, 4, 191},
        {"quarters 2", 255, 0, 2, 4, 128},
        {"quarters 3", 255, 0, 3, 4, 64},
        {"at i = 0 start", 17, 200, 0, 9, 17},
        {"equal ends", 77, 77, 5, 9, 77},
        {"product beyond 32 bits", 0, 255, 2000000000, 2147483647, 237},
    };
    for (const Row& row : rows)
        EXPECT_EQ(InterpolateChannel(row.start, row.end, row.i, row.n), row.expected) << row.name;
    for (std::int32_t i = 0; i <= 255; ++i)
        EXPECT_EQ(InterpolateChannel(0, 255, i, 255), i) << "strip position " << i;
}

TEST(ColourCode, Table) {
    struct Row {
        Rgb colour;
        std::u16string expected;
    } rows[] = {{{0, 0, 0}, u"000000"}, {{255, 0, 255}, u"FF00FF"}, {{1, 2, 3}, u"010203"}, {{170, 0, 85}, u"AA0055"}};
    for (const Row& row : rows)
        EXPECT_EQ(ColourCode(row.colour), row.expected);
}

TEST(BlendAndPack, StartUpPairHalfway) {
    const ColourPair pair{{255, 0, 255}, {0, 255, 0}};
    EXPECT_EQ(BlendAt(pair, 1, 2), (Rgb{128, 128, 128}));
    EXPECT_EQ(BlendAt(pair, 2, 2), pair.end);
    EXPECT_EQ(Pack({0x56, 0x34, 0x12}), 0x563412);
    EXPECT_EQ(Pack({255, 255, 255}), 16777215);
}

// The generator steps colours in integers; it must match the double rule bit for bit.
TEST(ChannelStepper, EqualsInterpolateChannel) {
    std::mt19937_64 random(20240611);
    auto uniform = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
    };
    for (int trial = 0; trial < 20000; ++trial) {
        const auto start = static_cast<Channel>(uniform(0, 255));
        const auto end = static_cast<Channel>(uniform(0, 255));
        // Small even n meets many exact ties; large n exercises the 64-bit products.
        const auto n = static_cast<std::int32_t>(trial % 2 ? uniform(1, 64) : uniform(1, INT32_MAX));
        const auto k = static_cast<std::int32_t>(uniform(1, n));
        const auto first = static_cast<std::int32_t>(uniform(0, n));
        ChannelStepper stepper(start, end, first, k, n);
        std::int64_t i = first;
        for (int steps = 0; steps < 64 && i <= n; ++steps, i += k, stepper.Step())
            ASSERT_EQ(stepper.Value(), InterpolateChannel(start, end, static_cast<std::int32_t>(i), n))
                << "start " << start << " end " << end << " i " << i << " n " << n;
    }
}

TEST(ReadColourText, Table) {
    struct Row {
        const char* text;
        std::optional<Rgb> expected;
    } rows[] = {
        {"FF8000", Rgb{255, 128, 0}},
        {"#ff8000", Rgb{255, 128, 0}},
        {"#f0a", Rgb{255, 0, 170}},
        {"#ABC", Rgb{0xAA, 0xBB, 0xCC}},
        {"orange", Rgb{255, 165, 0}},
        {"ORANGE", Rgb{255, 165, 0}},
        {"RebeccaPurple", Rgb{0x66, 0x33, 0x99}},
        {"bisque", Rgb{0xFF, 0xE4, 0xC4}}, // six letters, not hex digits
        {"grey", Rgb{128, 128, 128}},
        {"gray", Rgb{128, 128, 128}},
        {"lightgoldenrodyellow", Rgb{0xFA, 0xFA, 0xD2}},
        {"fed", std::nullopt}, // three hex digits need the "#"
        {"#orange", std::nullopt},
        {"#12345", std::nullopt},
        {"#1234", std::nullopt},
        {"12345G", std::nullopt},
        {"", std::nullopt},
        {"#", std::nullopt},
        {"red ", std::nullopt},
        {"transparent", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ReadColourText(row.text), row.expected) << '"' << row.text << '"';

    // Every CSS keyword, once, sorted for the lookup, and readable in upper case too.
    EXPECT_EQ(NamedColourCount(), 148u);
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < NamedColourCount(); ++i) {
        const std::string_view name = NamedColourName(i);
        if (i > 0) {
            EXPECT_LT(NamedColourName(i - 1), name);
        }
        seen.insert(name);
        std::string upper(name);
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(ReadColourText(upper), NamedColour(name)) << name;
        EXPECT_TRUE(NamedColour(name).has_value()) << name;
    }
    EXPECT_EQ(seen.size(), 148u);
}

TEST(GradientAt, SrgbStopsTable) {
    const Rgb red{255, 0, 0}, lime{0, 255, 0}, blue{0, 0, 255};
    struct Row {
        const char* name;
        std::vector<Rgb> stops;
        std::int32_t i, n;
        Rgb expected;
    } rows[] = {
        {"three stops, first quarter ties to even", {red, lime, blue}, 1, 4, {128, 128, 0}},
        {"three stops, middle stop exactly", {red, lime, blue}, 2, 4, lime},
        {"three stops, third quarter", {red, lime, blue}, 3, 4, {0, 128, 128}},
        {"three stops, last position is the last stop", {red, lime, blue}, 4, 4, blue},
        {"three stops, one character", {red, lime, blue}, 1, 1, blue},
        {"four stops over 7: i = 3 in segment 1", {red, lime, blue, red}, 3, 7, {0, 182, 73}},
        {"repeated stop holds still", {red, red, blue}, 1, 3, red},
        {"positions beyond 32 bits once scaled", {red, lime, blue}, 2'000'000'000, 2'147'483'647, {0, 35, 220}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(GradientAt({row.stops, Blend::Srgb}, row.i, row.n), row.expected) << row.name;
}

// Two sRGB stops are the window's rule; the walker is the definition, stepped.
TEST(GradientAt, WalkerAndTwoStopsAgreeWithTheRules) {
    std::mt19937_64 random(20261207);
    auto uniform = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
    };
    auto colour = [&] {
        return Rgb{static_cast<Channel>(uniform(0, 255)), static_cast<Channel>(uniform(0, 255)),
                   static_cast<Channel>(uniform(0, 255))};
    };
    for (int trial = 0; trial < 6000; ++trial) {
        Gradient gradient{{colour(), colour()}, trial % 2 ? Blend::Oklab : Blend::Srgb};
        for (int extra = static_cast<int>(uniform(0, trial % 3 ? 6 : 0)); extra > 0; --extra)
            gradient.stops.push_back(colour());
        // Every other space and hue method, stops beyond sRGB, positions with stops on top of each other.
        if (trial % 4 == 3)
            gradient.blend = {Spaces()[uniform(0, static_cast<int>(Spaces().size()) - 1)],
                              HueMethods()[uniform(0, static_cast<int>(HueMethods().size()) - 1)]};
        if (trial % 8 == 7)
            for (std::size_t j = 0; j < gradient.stops.size(); ++j)
                gradient.exact.push_back(
                    {Space::Oklch, {uniform(0, 100) / 100.0, uniform(0, 40) / 100.0, 1.0 * uniform(0, 359)}, {}});
        if (uniform(0, 2) == 0) {
            std::vector<std::optional<double>> given;
            for (std::size_t j = 0; j < gradient.stops.size(); ++j)
                given.push_back(uniform(0, 1) ? std::optional<double>(uniform(-10, 110) / 100.0) : std::nullopt);
            gradient.positions = FixPositions(given);
        }
        // Some long dense walks: the Oklab walker skips units it can prove keep their colour.
        const bool dense = trial % 150 == 1;
        const auto n = static_cast<std::int32_t>(dense       ? uniform(20000, 60000)
                                                 : trial % 4 ? uniform(1, 300)
                                                             : uniform(1, INT32_MAX));
        const auto k = static_cast<std::int32_t>(dense ? uniform(1, 3) : uniform(1, std::max<std::int64_t>(1, n - 1)));
        GradientWalker walker(gradient, k, n);
        std::int64_t i = 1;
        for (int steps = 0; (dense || steps < 400) && i <= n; ++steps, i += k) {
            const auto position = static_cast<std::int32_t>(i);
            walker.MoveTo(position);
            const Rgb expected = GradientAt(gradient, position, n);
            ASSERT_EQ((Rgb{static_cast<Channel>(walker.Red()), static_cast<Channel>(walker.Green()),
                           static_cast<Channel>(walker.Blue())}),
                      expected)
                << "trial " << trial << " i " << i << " n " << n << " k " << k;
            if (gradient.stops.size() == 2 && gradient.IntegerRule()) {
                ASSERT_EQ(expected, BlendAt({gradient.stops[0], gradient.stops[1]}, position, n));
            }
        }
    }
}

TEST(Oklab, PublishedReferenceValues) {
    struct Row {
        const char* name;
        LinearRgb linear;
        Oklab expected;
        double tolerance;
    };
    // Ottosson's table is given from CIE XYZ (three decimals); D65 XYZ to linear sRGB first.
    auto fromXyz = [](double x, double y, double z) {
        return LinearRgb{3.2404542 * x - 1.5371385 * y - 0.4985314 * z, -0.9692660 * x + 1.8760108 * y + 0.0415560 * z,
                         0.0556434 * x - 0.2040259 * y + 1.0572252 * z};
    };
    const Row rows[] = {
        {"XYZ white", fromXyz(0.950, 1.000, 1.089), {1.000, 0.000, 0.000}, 1e-3},
        {"XYZ X", fromXyz(1, 0, 0), {0.450, 1.236, -0.019}, 1e-3},
        {"XYZ Y", fromXyz(0, 1, 0), {0.922, -0.671, 0.263}, 1e-3},
        {"XYZ Z", fromXyz(0, 0, 1), {0.153, -1.415, -0.449}, 1e-3},
        {"sRGB red", {1, 0, 0}, {0.627955, 0.224863, 0.125846}, 1e-6},
        {"sRGB green", {0, 1, 0}, {0.866440, -0.233888, 0.179498}, 1e-6},
        {"sRGB blue", {0, 0, 1}, {0.452014, -0.032457, -0.311528}, 1e-6},
    };
    for (const Row& row : rows) {
        const Oklab lab = LinearToOklab(row.linear);
        EXPECT_NEAR(lab.L, row.expected.L, row.tolerance) << row.name;
        EXPECT_NEAR(lab.a, row.expected.a, row.tolerance) << row.name;
        EXPECT_NEAR(lab.b, row.expected.b, row.tolerance) << row.name;
    }
    EXPECT_NEAR(SrgbToLinear(128), 0.2158605, 1e-7);
    EXPECT_NEAR(SrgbToLinear(10), 10 / 255.0 / 12.92, 1e-12);

    // Magenta to green keeps its lightness through the middle instead of passing #808080.
    const Gradient magentaToGreen{{{255, 0, 255}, {0, 255, 0}}, Blend::Oklab};
    EXPECT_EQ(GradientAt(magentaToGreen, 1, 2), (Rgb{0xC6, 0xB4, 0xB4}));
    EXPECT_EQ(GradientAt(magentaToGreen, 2, 2), (Rgb{0, 255, 0}));
    // Every named colour survives the round trip through Oklab at both ends of a segment.
    for (std::size_t i = 0; i < NamedColourCount(); ++i) {
        const Rgb colour = *NamedColour(NamedColourName(i));
        EXPECT_EQ(GradientAt({{colour, Rgb{}}, Blend::Oklab}, 0, 1), colour) << NamedColourName(i);
        EXPECT_EQ(GradientAt({{Rgb{}, colour}, Blend::Oklab}, 1, 1), colour) << NamedColourName(i);
    }
}

// The table lookup must give what pow gives, at every channel border and in between.
TEST(Oklab, EncodeFromTableEqualsPow) {
    auto check = [](double x) {
        ASSERT_EQ(SrgbEncoder::Shared().Encode(x), EncodeSrgbDirect(x)) << std::hexfloat << x;
    };
    for (int step = -1000; step <= (1 << 22) + 1000; ++step)
        check(step / static_cast<double>(1 << 22));
    for (int v = 0; v <= 255; ++v) {
        // Around each border, ULP by ULP.
        const double c = (v + 0.5) / 255;
        const double border = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        const auto bits = std::bit_cast<std::uint64_t>(border);
        for (std::uint64_t d = 0; d < 4000; ++d) {
            check(std::bit_cast<double>(bits + d));
            check(std::bit_cast<double>(bits - d));
        }
    }
    for (double x : {-1.0, -0.0, 1.0, 1.5, 1e300, -1e300})
        check(x);
}

// CSS's own examples for stops without a position and positions out of order.
TEST(CssStops, PositionsFixedUpAsCssDoes) {
    const std::optional<double> none;
    const struct Row {
        const char* name;
        std::vector<std::optional<double>> given;
        std::vector<double> expected;
    } rows[] = {
        {"yellow, blue 20%, #0f0", {none, 0.2, none}, {0, 0.2, 1}},
        {"red 40%, white, black, blue", {0.4, none, none, none}, {0.4, 0.6, 0.8, 1}},
        {"red 40%, white 0%, black: raised to the largest before", {0.4, 0.0, none}, {0.4, 0.4, 1}},
        {"unpositioned between a raised pair", {0.5, none, 0.2}, {0.5, 0.5, 0.5}},
        {"beyond both ends", {-0.5, none, 1.5}, {-0.5, 0.5, 1.5}},
    };
    for (const Row& row : rows) {
        const std::vector<double> fixed = FixPositions(row.given);
        ASSERT_EQ(fixed.size(), row.expected.size()) << row.name;
        for (std::size_t j = 0; j < fixed.size(); ++j)
            EXPECT_DOUBLE_EQ(fixed[j], row.expected[j]) << row.name << " stop " << j;
    }
}

// The stop editor's rows and the first one it cannot read, from one pass; a list
// past the bound is refused whatever it holds.
TEST(CssStops, ListsSplitIntoRows) {
    std::string many;
    for (std::size_t j = 0; j <= kMaxStops; ++j)
        many += "red,";
    const struct Row {
        const char* name;
        std::string text;
        StopsProblem problem;
        std::size_t rows, bad = 0;
    } rows[] = {
        {"commas inside a function stay", "red, rgb(1, 2, 3) 40%, blue", StopsProblem::None, 3},
        {"the first bad stop is named", "red, bleu, x, blue", StopsProblem::NotStop, 4, 1},
        {"a bad position", "red 5x%, blue", StopsProblem::NotStop, 2, 0},
        {"one colour", "red", StopsProblem::OneColour, 1},
        {"one more than the bound", many, StopsProblem::TooMany, kMaxStops},
        {"three million commas", std::string(3 << 20, ','), StopsProblem::TooMany, kMaxStops},
    };
    for (const Row& row : rows) {
        const StopList list = ReadStopList(row.text);
        EXPECT_EQ(list.problem, row.problem) << row.name;
        EXPECT_EQ(list.rows.size(), row.rows) << row.name;
        EXPECT_EQ(list.at.size(), list.rows.size()) << row.name;
        if (row.problem == StopsProblem::NotStop)
            EXPECT_EQ(list.bad, row.bad) << row.name;
    }
    const StopList placed = ReadStopList("red, rgb(1, 2, 3) 40%, blue 20%, lime");
    EXPECT_EQ(placed.rows[1].colour, "rgb(1, 2, 3)");
    EXPECT_EQ(placed.at, (std::vector<double>{0, 0.4, 0.4, 1}));
}

// Numbers at the edges paint what Chromium paints (asked of it): NaN never reaches a channel.
TEST(CssStops, EdgeNumbersPaintAsChromium) {
    const std::pair<const char*, Rgb> rows[] = {
        {"hsl(1e309 50% 50%)", {191, 64, 64}},        {"hsl(3.4e38 50% 50%)", {191, 81, 64}},
        {"hsl(1e20 50% 50%)", {149, 64, 191}},        {"oklch(0.5 0.1 calc(infinity))", {82, 110, 42}},
        {"rgb(calc(NaN) -1e309 1e309)", {0, 0, 255}}, {"hsl(calc(NaN) 50% 50%)", {191, 64, 64}},
        {"hwb(0 255% 8.88%)", {246, 246, 246}},       {"rgb(-0 0 0 / 0.999)", {0, 0, 0}},
    };
    for (const auto& [text, rgb] : rows) {
        const std::optional<CssColour> read = ReadCssColour(text);
        ASSERT_TRUE(read) << text;
        EXPECT_EQ(ToRgb(read->colour), rgb) << text;
    }
}

// Oklab greys mix as Chromium mixes them (asked of it): in hsl, hwb and lch their hue
// comes from its float rounding; a missing chroma and hue stand for a missing a and b.
TEST(CssStops, OklabGreysMixAsChromium) {
    struct Row {
        const char *blend, *from, *to;
        double t;
        Rgb expected;
    } rows[] = {
        {"hsl", "oklab(0.5 0 0)", "hsl(0 100% 50%)", 1.0 / 3, {76, 72, 145}},
        {"hsl", "oklab(0.5 0 0)", "hsl(0 100% 50%)", 2.0 / 3, {197, 39, 192}},
        {"hwb", "oklab(0.5 0 0)", "hwb(0 0% 0%)", 0.5, {119, 50, 177}},
        {"hsl", "#60da9f", "oklch(64.71% none -115.49)", 1 - 0.636942675159, {87, 216, 180}},
        {"lch", "oklch(61.91% 0.00031 314.35)", "#80dd39", 0.5, {228, 142, 122}},
        {"oklab", "oklch(82.79% none none)", "color(xyz-d65 0.492 0.631 0.433)", 0, {165, 215, 155}},
        {"oklch", "oklab(0.8 none none)", "color(xyz-d65 0.492 0.631 0.433)", 0, {156, 206, 146}},
        {"oklab", "oklch(82.79% none 30)", "color(xyz-d65 0.492 0.631 0.433)", 0, {198, 198, 198}},
    };
    for (const Row& row : rows) {
        const std::optional<CssColour> from = ReadCssColour(row.from), to = ReadCssColour(row.to);
        ASSERT_TRUE(from && to) << row.from << " " << row.to;
        EXPECT_EQ(MixPair(from->colour, to->colour, *ReadBlend(row.blend)).At(row.t), row.expected)
            << row.blend << " " << row.from << " " << row.to << " " << row.t;
    }
}

TEST(CssStops, ColoursBlendsAndPowerlessHues) {
    const struct Row {
        const char* text;
        std::optional<Space> space; // nothing: not a colour
        bool plain = false;
        std::array<bool, 3> missing{};
    } colours[] = {
        {"#f00f", Space::Srgb, true},
        {"#f00a", std::nullopt},
        {"rgb(255, 0, 0)", Space::Srgb, true},
        {"RGB(100% 0% 0% / 100%)", Space::Srgb, true},
        {"rgb(none 0 0)", Space::Srgb, false, {true, false, false}},
        {"rgb(0.5 0 0)", Space::Srgb, false},
        {"hsl(120deg 100% 50%)", Space::Hsl},
        {"hwb(0.5turn 10% 10%)", Space::Hwb},
        {"lab(50% 20 -30)", Space::Lab},
        {"oklch(70% 0.1 none)", Space::Oklch, false, {false, false, true}},
        {"color(display-p3 1 0 0)", Space::DisplayP3},
        {"color(xyz 0.2 0.3 0.4)", Space::Xyz},
        {"transparent", std::nullopt},
        {"rgb(1 2)", std::nullopt},
        {"rgb(1/**/2\r3\f", Space::Srgb, true},
        {"r\\67 b(1 2 3)", Space::Srgb, true},
        {"rgb(from red r g calc(b + 1))", Space::Srgb, true},
        {"oklch(from #123456 l c none)", Space::Oklch, false, {false, false, true}},
        {"color(display-p3-linear 1 0 0)", Space::SrgbLinear},
        {"hsl(calc(120 * 2) 50% 50% / 100%)", Space::Hsl},
        {"rgb(255, 50%, 0)", std::nullopt},
        {"rgba(0 0 255 0.5)", std::nullopt},
        {"rgb (1 2 3)", std::nullopt},
        {"rgb(5. 0 0)", std::nullopt},
        {"hsl(,120 50% 50%)", std::nullopt},
        {"rgb(1, 2, 3, )", std::nullopt},
        {"lab(50, 20, 10)", std::nullopt},
        {"oklch(nan 0.2 120)", std::nullopt},
        {"rgb(1 2 3) x", std::nullopt},
        {"hsl(1% 2% 3%)", std::nullopt},
        {"color(cmyk 1 0 0)", std::nullopt},
    };
    for (const Row& row : colours) {
        const std::optional<CssColour> read = ReadCssColour(row.text);
        ASSERT_EQ(read.has_value(), row.space.has_value()) << row.text;
        if (read) {
            EXPECT_EQ(read->colour.space, *row.space) << row.text;
            EXPECT_EQ(read->plain, row.plain) << row.text;
            EXPECT_EQ(read->colour.missing, row.missing) << row.text;
        }
    }
    const std::pair<const char*, std::optional<Blend>> blends[] = {
        {"oklch longer hue", Blend{Space::Oklch, HueMethod::Longer}},
        {"HSL  decreasing  hue", Blend{Space::Hsl, HueMethod::Decreasing}},
        {"xyz", Blend{Space::Xyz, HueMethod::Shorter}},
        {"srgb longer hue", std::nullopt},
        {"oklch longer", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, blend] : blends)
        EXPECT_EQ(ReadBlend(text), blend) << text;
    // White, black and grey have no hue: the other colour's is taken, never red's 0.
    const Rgb white{255, 255, 255}, grey{128, 128, 128}, blue{0, 0, 255};
    for (const Space space : {Space::Oklch, Space::Lch, Space::Hsl, Space::Hwb})
        for (const Rgb& achromatic : {white, grey, Rgb{}}) {
            const MixPair pair(FromRgb(achromatic), FromRgb(blue), {space, HueMethod::Shorter});
            const std::size_t hue = space == Space::Oklch || space == Space::Lch ? 2 : 0;
            EXPECT_EQ(pair.from[hue], pair.to[hue]) << SpaceName(space) << " " << achromatic.red;
        }
    // A hue given in the blend's own space stays, even at chroma 0.
    EXPECT_FALSE(Convert({Space::Oklch, {0.5, 0, 180}, {}}, Space::Oklch).missing[2]);
}

} // namespace
} // namespace velmorant
