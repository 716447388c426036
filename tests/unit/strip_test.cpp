#include "preview/gradient_strip.h"

#include "reference_rules.h"

#include <gtest/gtest.h>

#include <random>

namespace velmorant {
namespace {

PackedRgb Pack(int r, int g, int b) { return r << 16 | g << 8 | b; }

TEST(GradientStripColours, Table) {
    struct Row {
        const char* name;
        ColourPair pair;
        PackedRgb (*line)(int i); // expected colour of line i
    } rows[] = {
        {"start-up pair", {{255, 0, 255}, {0, 255, 0}}, [](int i) { return Pack(255 - i, i, 255 - i); }},
        {"black to white greys", {{0, 0, 0}, {255, 255, 255}}, [](int i) { return Pack(i, i, i); }},
        {"red 0 to 1 switches at 128", {{0, 0, 0}, {1, 0, 0}}, [](int i) { return Pack(i >= 128 ? 1 : 0, 0, 0); }},
        {"equal ends uniform", {{9, 8, 7}, {9, 8, 7}}, [](int) { return Pack(9, 8, 7); }},
    };
    for (const Row& row : rows) {
        const auto lines = GradientStripColours(row.pair);
        for (int i = 0; i < GradientStripLines; ++i)
            ASSERT_EQ(lines[i], row.line(i)) << row.name << ", line " << i;
    }
}

TEST(GradientStripColours, RoundsEachChannel) {
    const auto lines = GradientStripColours({{200, 100, 0}, {100, 200, 0}});
    EXPECT_EQ(lines[0], Pack(200, 100, 0));
    EXPECT_EQ(lines[1], Pack(200, 100, 0));
    EXPECT_EQ(lines[128], Pack(150, 150, 0));
    EXPECT_EQ(lines[255], Pack(100, 200, 0));
}

// The strip takes its colours from the code's engine: each line is still the
// blending rule at i of 255.
TEST(GradientStripColours, EveryLineIsTheBlendingRule) {
    std::mt19937 random(3);
    const auto channel = [&] { return static_cast<Channel>(random() % 256); };
    for (int trial = 0; trial < 500; ++trial) {
        const ColourPair pair{{channel(), channel(), channel()}, {channel(), channel(), channel()}};
        const auto lines = GradientStripColours(pair);
        for (int i = 0; i < GradientStripLines; ++i)
            ASSERT_EQ(lines[i], Pack(BlendAt(pair, i, GradientStripLines - 1))) << "trial " << trial;
    }
}

} // namespace
} // namespace velmorant
