#include "core/text/text_to_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace velmorant {
namespace {

TEST(TextToNumber, Table) {
    struct Row {
        const char* name;
        std::u16string text;
        double expected;
    } rows[] = {
        {"digits then letters", u"12abc", 12},
        {"blank inside", u"1 2", 12},
        {"leading blank", u" 3", 3},
        {"tab and line feed removed", u"\t1\n2", 12},
        {"carriage return stops", u"1\r2", 1},
        {"letters only", u"abc", 0},
        {"empty", u"", 0},
        {"fraction", u"2.5", 2.5},
        {"second point stops", u"1.2.3", 1.2},
        {"leading point", u".5", 0.5},
        {"trailing point", u"7.", 7},
        {"plus sign", u"+4", 4},
        {"minus sign", u"-4.5", -4.5},
        {"sign alone", u"-", 0},
        {"exponent E", u"1E3", 1000},
        {"exponent d lower", u"2d2", 200},
        {"exponent negative", u"5e-1", 0.5},
        {"exponent without digits", u"3e", 3},
        {"exponent sign without digits", u"3e+x", 3},
        {"overflowing exponent", u"1e999", INFINITY},
        {"underflowing exponent", u"1e-999", 0},
        {"comma is no point", u"1,5", 1},
        {"hex", u"&HFF", 255},
        {"hex lower case", u"&hff", 255},
        {"hex stops at non-digit", u"&H1G", 1},
        {"octal", u"&O17", 15},
        {"octal stops at 8", u"&o78", 7},
        {"prefix without digits", u"&H", 0},
        {"ampersand alone", u"&12", 0},
        {"full-width digit is not a digit", u"\uFF11", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TextToNumber(row.text), row.expected) << row.name;
}

TEST(TextToNumber, IgnoresLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(TextToNumber(u"2.5"), 2.5);
    if (previous)
        std::setlocale(LC_NUMERIC, "C");
}

TEST(EffectiveStep, Table) {
    struct Row {
        const char* name;
        std::u16string step;
        std::int32_t n, expected;
    } rows[] = {
        {"one", u"1", 10, 1},
        {"two", u"2", 10, 2},
        {"n minus one stays", u"4", 5, 4},
        {"n falls back", u"5", 5, 1},
        {"zero", u"0", 5, 1},
        {"empty", u"", 5, 1},
        {"not a number", u"x", 5, 1},
        {"tie down to even", u"2.5", 10, 2},
        {"tie up to even", u"3.5", 10, 4},
        {"empty text", u"3", 0, 1},
        {"one-character text", u"3", 1, 1},
        {"negative", u"-2", 10, 1},
        {"negative with one character", u"-1", 1, 1},
        {"beyond 32 bits", u"2147483648", INT32_MAX, 1},
        {"largest 32-bit value", u"2147483647", INT32_MAX, 1},
        {"just below largest n", u"2147483646", INT32_MAX, 2147483646},
        {"infinite", u"1e999", 10, 1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(EffectiveStep(row.step, row.n), row.expected) << row.name;
}

} // namespace
} // namespace velmorant
