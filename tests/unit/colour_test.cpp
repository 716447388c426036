#include "codegen/channel_stepper.h"
#include "codegen/colour.h"

#include <gtest/gtest.h>

#include <random>

namespace velmorant {
namespace {

TEST(SplitRGB, Table) {
    struct Row {
        const char* name;
        ColourValue value;
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
    EXPECT_EQ(ToColourValue({0x56, 0x34, 0x12}), 1193046);
    EXPECT_EQ(ToColourValue({255, 255, 255}), 16777215);
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

} // namespace
} // namespace velmorant
