#include "core/colour/colour_sets.h"
#include "core/colour/contrast.h"
#include "core/colour/palettes.h"
#include "core/conversion/destinations.h"
#include "core/conversion/settings.h"

#include <gtest/gtest.h>

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
    };
    for (const Row& row : rows)
        EXPECT_NEAR(ContrastRatio(row.a, row.b), row.ratio, 1e-4) << row.name;
}

// Whether any lightness reaches the target: black or white does if anything does.
bool Reachable(const ContrastTarget& target, Rgb background) {
    return MeetsTarget(target, {0, 0, 0}, background) || MeetsTarget(target, {255, 255, 255}, background);
}

// --readable on random gradients, on every place's background and random ones: no unit
// stays under a target that can be reached, and a unit already over it keeps its colour.
TEST(Contrast, ReadableLeavesNoUnitUnderTheTarget) {
    std::mt19937 random(2812);
    const auto colour = [&] { return u"#" + ColourCode(UnpackRgb(random() & 0xFFFFFF)); };
    const char16_t* blends[] = {u"srgb", u"oklch", u"oklab", u"hsl longer hue", u"lab"};
    const char16_t* goals[] = {u"aa", u"aaa", u"apca-60", u"apca-75", u"apca-45"};
    std::vector<std::u16string> backgrounds = {u"white", u"#1E1E1E", u"black"};
    for (const Destination& place : Destinations())
        backgrounds.push_back(u"#" + ColourCode(UnpackRgb(place.background)));
    for (int round = 0; round < 150; ++round) {
        const std::u16string lines =
            u"colours=" + colour() + u"," + colour() + (round % 2 ? u"," + colour() : u"") + u"\nblend=" +
            blends[round % 5] + u"\nreadable=" + goals[round % 5] + u"\nbackground=" +
            (round % 3 ? backgrounds[random() % backgrounds.size()] : colour()) + (round % 4 ? u"\n" : u"\nsize=6\n");
        SCOPED_TRACE(std::string(lines.begin(), lines.end()));
        Settings settings;
        ASSERT_TRUE(ApplySettings(settings, lines).empty());
        const ConversionRequest& request = settings.request;
        const ContrastTarget target = TargetOf(request);
        const bool reachable = Reachable(target, *request.background);
        const std::int32_t n = 1 + static_cast<std::int32_t>(random() % 200);
        GradientWalker walker(request.gradient, 1, n);
        for (std::int32_t i = 1; i <= n; ++i) {
            walker.MoveTo(i);
            const bool met = MeetsTarget(target, walker.Unfiltered(), *request.background);
            ASSERT_TRUE(met ? walker.Colour() == walker.Unfiltered()
                            : !reachable || MeetsTarget(target, walker.Colour(), *request.background))
                << i;
        }
        const ContrastReport report = MeasureContrast(std::u16string(static_cast<std::size_t>(n), u'x'), request);
        EXPECT_TRUE(report.units == static_cast<std::size_t>(n) && (report.under == 0 || !reachable));
    }
}

// Each palette on the background it is made for: no unit under 4.5:1, at any length.
TEST(Contrast, PalettesReadOnTheirBackground) {
    for (const Palette& palette : Palettes()) {
        for (const std::size_t n : {2, 7, 40, 301}) {
            Settings s;
            ApplySettings(s, u"palette=" + std::u16string(palette.name.begin(), palette.name.end()) + u"\nbackground=" +
                                 ColourCode(palette.background));
            EXPECT_EQ(MeasureContrast(std::u16string(n, u'x'), s.request).under, 0u) << palette.name << " " << n;
        }
    }
}

} // namespace
} // namespace velmorant
