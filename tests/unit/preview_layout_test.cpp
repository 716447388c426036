#include "core/text/text_to_number.h"
#include "preview/preview_layout.h"
#include "reference_rules.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <algorithm>
#include <cmath>

namespace velmorant {
namespace {

const ColourPair StartUpPair{{255, 0, 255}, {0, 255, 0}};
const ColourPair RedToBlue{{255, 0, 0}, {0, 0, 255}};

PackedRgb Pack(int r, int g, int b) { return r << 16 | g << 8 | b; }

TEST(MapPreviewSize, Table) {
    struct Row {
        std::u16string text;
        float expected;
    } rows[] = {
        {u"1", 10},   {u"2", 11}, {u"3", 12},     {u"4", 14}, {u"5", 19}, {u"6", 24},  {u"7", 35},
        {u"3.0", 12}, {u"8", 8},  {u"7.5", 7.5f}, {u"x", 0},  {u"", 0},   {u"-2", -2}, {u"1e999", INFINITY},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MapPreviewSize(row.text), row.expected) << "size text of length " << row.text.size();
}

TEST(LayoutPreview, Table) {
    const float c = 12; // cell points
    struct Row {
        const char* name;
        std::u16string text;
        std::u16string step;
        ColourPair pair;
        std::vector<PreviewRun> expected;
    } rows[] = {
        {"one character in the end colour", u"x", u"1", RedToBlue, {{u"x", Pack(0, 0, 255), 0, 0}}},
        {"two characters, halfway ties to even",
         u"ab",
         u"1",
         StartUpPair,
         {{u"a", Pack(128, 128, 128), 0, 0}, {u"b", Pack(0, 255, 0), 240, 0}}},
        {"step n falls back to 1",
         u"abc",
         u"3",
         RedToBlue,
         {{u"a", Pack(170, 0, 85), 0, 0}, {u"b", Pack(85, 0, 170), 240, 0}, {u"c", Pack(0, 0, 255), 480, 0}}},
        {"step 2 over five",
         u"abcde",
         u"2",
         RedToBlue,
         {{u"ab", Pack(204, 0, 51), 0, 0}, {u"cd", Pack(102, 0, 153), 480, 0}, {u"e", Pack(0, 0, 255), 960, 0}}},
        {"final CR LF in the last two cells",
         u"ab\r\n",
         u"1",
         RedToBlue,
         {{u"a", Pack(191, 0, 64), 0, 0},
          {u"b", Pack(128, 0, 128), 240, 0},
          {u"\r", Pack(64, 0, 191), 480, 0},
          {u"\n", Pack(0, 0, 255), 720, 0}}},
        {"empty text", u"", u"1", RedToBlue, {}},
    };
    for (const Row& row : rows) {
        const auto n = static_cast<std::int32_t>(row.text.size());
        const auto runs = LayoutPreview(row.text, EffectiveStep(row.step, n), row.pair, c);
        ASSERT_EQ(runs.size(), row.expected.size()) << row.name;
        for (std::size_t u = 0; u < runs.size(); ++u)
            EXPECT_EQ(runs[u], row.expected[u]) << row.name << ", unit " << u;
    }
}

TEST(LayoutPreview, GridCells) {
    struct Row {
        const char* name;
        std::int32_t k;
        std::int32_t position;
        float cellPoints;
        std::int32_t x, y;
    } rows[] = {
        {"position 38 ends row 0", 1, 38, 10, 37 * 200, 0},
        {"position 39 starts row 1", 1, 39, 10, 0, 200},
        {"position 77 starts row 2", 1, 77, 10, 0, 400},
        {"step 5: unit at 36 on row 0", 5, 36, 10, 35 * 200, 0},
        {"step 5: unit at 41 in cell 3 of row 1", 5, 41, 10, 2 * 200, 200},
        {"x rounds half to even", 1, 2, 0.125f, 2, 0},        // 20 * 0.125 = 2.5
        {"x rounds half to even upward", 1, 4, 0.125f, 8, 0}, // 60 * 0.125 = 7.5
        {"last laid-out position", 1, PreviewLastPosition, 1, 37 * 20, 163 * 200},
    };
    const std::u16string text(8000, u'a');
    for (const Row& row : rows) {
        const auto runs = LayoutPreview(text, row.k, RedToBlue, row.cellPoints);
        const std::size_t index = static_cast<std::size_t>((row.position - 1) / row.k);
        ASSERT_GT(runs.size(), index) << row.name;
        EXPECT_EQ(runs[index].X, row.x) << row.name;
        EXPECT_EQ(runs[index].Y, row.y) << row.name;
        EXPECT_EQ(runs[index].Colour, Pack(BlendAt(RedToBlue, row.position, 8000))) << row.name;
    }
}

TEST(LayoutPreview, LeavesOutWhatNoPictureShows) {
    const std::u16string text(8000, u'a');
    struct Row {
        const char* name;
        std::int32_t k;
        float cellPoints;
        PreviewArea area;
        std::size_t expected;
    } rows[] = {
        {"grid ends at row 163", 1, 1, {}, PreviewLastPosition},
        {"unit starting at the last position kept", 3, 1, {}, 2078}, // 6232 = 1 + 3 * 2077
        {"picture width cuts columns", 1, 10, {5385, 1275}, 27 * 7}, // 27 cells of 200 fit 5385, 7 rows 1275
        {"x beyond 32 bits", 1, 1e30f, {}, 164},                     // only column 1 (x = 0) remains
    };
    for (const Row& row : rows)
        EXPECT_EQ(LayoutPreview(text, row.k, RedToBlue, row.cellPoints, row.area).size(), row.expected) << row.name;
}

// Only the first 32 K characters of a 10-million-character text are readable: a
// layout that walks past the grid's end faults instead of merely running slowly.
TEST(LayoutPreview, StopsAtTheEndOfTheGrid) {
    constexpr std::size_t length = 10'000'000;
    constexpr std::size_t readable = 32 * 1024;
    void* memory =
        mmap(nullptr, length * sizeof(char16_t), PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(memory, MAP_FAILED);
    ASSERT_EQ(mprotect(memory, readable * sizeof(char16_t), PROT_READ | PROT_WRITE), 0);
    auto* text = static_cast<char16_t*>(memory);
    std::fill(text, text + readable, u'a');

    const auto runs = LayoutPreview(std::u16string_view(text, length), 1, RedToBlue, 10);
    EXPECT_EQ(runs.size(), static_cast<std::size_t>(PreviewLastPosition));
    EXPECT_EQ(runs.back().Colour, Pack(BlendAt(RedToBlue, PreviewLastPosition, length)));
    munmap(memory, length * sizeof(char16_t));
}

} // namespace
} // namespace velmorant
