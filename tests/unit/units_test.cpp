#include "core/text/graphemes.h"
#include "core/text/length_rule.h"
#include "core/text/text.h"
#include "core/text/units.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmorant {
namespace {

TEST(TrimBlanks, Table) {
    struct Row {
        const char* name;
        std::u16string text, expected;
    } rows[] = {
        {"both ends", u"  ab  ", u"ab"},
        {"inner blank stays", u" a b ", u"a b"},
        {"blanks only", u"   ", u""},
        {"tab and line break stay", u"\tab\r\n", u"\tab\r\n"},
        {"ideographic space stays", u"\u3000a\u3000", u"\u3000a\u3000"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TrimBlanks(row.text), row.expected) << row.name;
}

TEST(IsRawUnit, Table) {
    struct Row {
        const char* name;
        std::u16string unit;
        bool raw;
        UnitRule rule = {};
    } rows[] = {
        {"tab", u"\t", true},
        {"line feed", u"\n", true},
        {"carriage return", u"\r", true},
        {"one blank", u" ", true},
        {"two blanks", u"  ", true},
        {"CR LF", u"\r\n", false},
        {"two tabs", u"\t\t", false},
        {"blank and letter", u" a", false},
        {"letter", u"a", false},
        {"ideographic space", u"\u3000", false},
        {"CR LF alone in units of clusters", u"\r\n", true, {true, false}},
        {"CR LF and a letter in units of clusters", u"\r\na", false, {true, false}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(IsRawUnit(row.unit, row.rule), row.raw) << row.name;
}

TEST(ForEachUnit, Table) {
    struct Piece {
        std::int32_t position;
        std::u16string text;
        bool operator==(const Piece&) const = default;
    };
    struct Row {
        const char* name;
        std::u16string text;
        std::int32_t k;
        std::vector<Piece> expected;
        UnitRule rule = {};
    } rows[] = {
        {"step 1", u"abc", 1, {{1, u"a"}, {2, u"b"}, {3, u"c"}}},
        {"last unit short", u"abcde", 2, {{1, u"ab"}, {3, u"cd"}, {5, u"e"}}},
        {"pair kept whole, next unit empty", u"\U0001F600b", 1, {{1, u"\U0001F600"}, {3, u"b"}}},
        {"pair across a border", u"a\U0001F600bc", 2, {{1, u"a\U0001F600"}, {3, u"b"}, {5, u"c"}}},
        {"lone high surrogate at the end", u"a\xD83D", 1, {{1, u"a"}, {2, u"\xD83D"}}},
        {"CR LF kept whole across a border", u"ab\r\ncd", 3, {{1, u"ab\r\n"}, {4, u"cd"}}},
        {"CR LF apart at step 1, both raw", u"a\r\n", 1, {{1, u"a"}, {2, u"\r"}, {3, u"\n"}}},
        {"LF taken along, next unit empty", u"a\r\n", 2, {{1, u"a\r\n"}}},
        {"clusters: positions count clusters", u"e\u0301xy", 2, {{1, u"e\u0301x"}, {3, u"y"}}, {true, false}},
        {"clusters: a flag is one unit",
         u"\U0001F1E8\U0001F1F3a",
         1,
         {{1, u"\U0001F1E8\U0001F1F3"}, {2, u"a"}},
         {true, false}},
    };
    for (const Row& row : rows) {
        std::vector<Piece> seen;
        ForEachUnit(row.text, row.k, row.rule, [&](const Unit& u) {
            seen.push_back({u.position, std::u16string(u.text)});
        });
        EXPECT_EQ(seen, row.expected) << row.name;
    }
}

// Each place's count of what a textarea posts, against figures worked out by hand
// from the places' own counting code.
TEST(LengthRules, CountAsPlacesDo) {
    struct Row {
        const char* name;
        const LengthRule& rule;
        std::u16string text;
        std::uint64_t count;
    } rows[] = {
        {"line breaks posted as CR LF", kPostedCodePoints, u"a\nb\r\nc\rd", 10},
        {"a surrogate pair is one character", kPostedCodePoints, u"\U0001F600", 1},
        {"UTF-8: CJK 3, emoji 4, a line break 2", kPostedUtf8Bytes, u"渐\U0001F600\n", 9},
        {"GBK: CJK 2, ASCII and euro 1", kPostedGbkBytes, u"渐a\u20AC", 4},
        {"GBK: a character outside it as &#N;", kPostedGbkBytes, u"\U0001F600\uE5E5", 9 + 8},
        {"cutstr: non-ASCII 2, CR nothing, LF 1", kCutstrWidth, u"渐a\r\n\x01", 4},
        {"cutstr: a lone line break posted as CR LF", kCutstrWidth, u"\n\r", 2},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CountLength(row.rule, row.text), row.count) << row.name;
    EXPECT_TRUE(InGbk(U'渐') && InGbk(U'\u00E9') && !InGbk(U'\u0E01') && !InGbk(0x1F600));
}

} // namespace
} // namespace velmorant
