#include "core/colour/contrast.h"
#include "core/colour/palettes.h"
#include "core/conversion/destinations.h"
#include "core/conversion/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace velmorant {
namespace {

TEST(Contrast, WcagRatioTable) {
    struct Row {
        const char* name;
        Rgb a, b;
        double ratio;
    } rows[] = {
        {"black on white, the most", {0, 0, 0}, {255, 255, 255}, 21},
        {"order does not matter", {255, 255, 255}, {0, 0, 0}, 21},
        {"one colour", {90, 20, 200}, {90, 20, 200}, 1},
        {"#767676, the lightest grey at 4.5:1 on white", {118, 118, 118}, {255, 255, 255}, 4.5422},
        {"#777777 just under it", {119, 119, 119}, {255, 255, 255}, 4.4781},
        {"lime on white", {0, 255, 0}, {255, 255, 255}, 1.3722},
        // 10/255 lies under the 0.04045 threshold and 11/255 over it.
        {"channel 10 on black is straight", {10, 10, 10}, {0, 0, 0}, (10 / 255.0 / 12.92 + 0.05) / 0.05},
        {"channel 11 on black is curved",
         {11, 11, 11},
         {0, 0, 0},
         (std::pow((11 / 255.0 + 0.055) / 1.055, 2.4) + 0.05) / 0.05},
    };
    for (const Row& row : rows)
        EXPECT_NEAR(ContrastRatio(row.a, row.b), row.ratio, 1e-4) << row.name;
}

// Whether any lightness reaches the target: black or white does if anything does.
bool Reachable(const ContrastTarget& target, Rgb background) {
    return MeetsTarget(target, {0, 0, 0}, background) || MeetsTarget(target, {255, 255, 255}, background);
}

// --readable on random gradients, on every place's background and random ones: no unit stays under a target
// that can be reached, and a unit already over it keeps its colour.
TEST(Contrast, ReadableLeavesNoUnitUnderTheTarget) {
    std::mt19937 random(2812);
    const auto channel = [&] { return static_cast<Channel>(random() % 256); };
    const auto hex = [](Rgb c) { return u"#" + ColourCode(c); };
    const char16_t* blends[] = {u"srgb", u"oklch", u"oklab", u"hsl longer hue", u"lab"};
    const char16_t* goals[] = {u"aa", u"aaa", u"apca-60", u"apca-75", u"apca-45"};
    std::vector<Rgb> backgrounds = {{255, 255, 255}, {0x1E, 0x1E, 0x1E}, {0, 0, 0}, {0xF6, 0xF6, 0xF6}};
    for (const Destination& place : Destinations())
        backgrounds.push_back({static_cast<Channel>(place.background >> 16),
                               static_cast<Channel>(place.background >> 8 & 0xFF),
                               static_cast<Channel>(place.background & 0xFF)});
    for (int round = 0; round < 150; ++round) {
        const Rgb background =
            round % 3 ? backgrounds[random() % backgrounds.size()] : Rgb{channel(), channel(), channel()};
        std::u16string stops;
        for (int i = 0, count = 2 + round % 3; i < count; ++i)
            stops += (i ? u", " : u"") + hex({channel(), channel(), channel()});
        const std::u16string lines = u"colours=" + stops + u"\nblend=" + blends[round % 5] + u"\nbackground=" +
                                     hex(background) + u"\nreadable=" + goals[round % 5] +
                                     (round % 4 ? u"\n" : u"\nsize=6\n");
        Settings settings;
        ASSERT_TRUE(ApplySettings(settings, lines).empty());
        const ConversionRequest& request = settings.request;
        const ContrastTarget target = TargetOf(request);
        SCOPED_TRACE(std::string(lines.begin(), lines.end()));
        const std::int32_t n = 1 + static_cast<std::int32_t>(random() % 200);
        GradientWalker walker(request.gradient, 1, n);
        for (std::int32_t i = 1; i <= n; ++i) {
            walker.MoveTo(i);
            if (MeetsTarget(target, walker.Unfiltered(), background)) {
                ASSERT_EQ(walker.Colour(), walker.Unfiltered()) << i;
            } else if (Reachable(target, background)) {
                ASSERT_TRUE(MeetsTarget(target, walker.Colour(), background)) << i;
            }
        }
        const ContrastReport report = MeasureContrast(std::u16string(static_cast<std::size_t>(n), u'x'), request);
        EXPECT_EQ(report.units, static_cast<std::size_t>(n));
        if (Reachable(target, background)) {
            EXPECT_EQ(report.under, 0u);
        }
    }
}

// Each palette on the background it is made for: every unit at 4.5:1 or more, at any length.
TEST(Contrast, PalettesReadOnTheirBackground) {
    for (const Palette& palette : Palettes()) {
        Gradient gradient;
        ASSERT_TRUE(ApplyPalette(palette.name, gradient));
        for (const std::int32_t n : {2, 7, 40, 301}) {
            GradientWalker walker(gradient, 1, n);
            for (std::int32_t i = 1; i <= n; ++i) {
                walker.MoveTo(i);
                EXPECT_GE(ContrastRatio(walker.Colour(), palette.background), 4.5)
                    << palette.name << " " << i << " of " << n;
            }
        }
    }
}

} // namespace
} // namespace velmorant
