#include "core/text/graphemes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace velmorant {
namespace {

// Unicode's own test: every line, "÷ 0020 × 0308 ÷" with a break at each ÷ and none at ×.
TEST(Graphemes, UnicodeGraphemeBreakTest) {
    std::ifstream file(VELMORANT_UNICODE_DIR "/auxiliary/GraphemeBreakTest.txt");
    ASSERT_TRUE(file) << "GraphemeBreakTest.txt is missing: install Debian's unicode-data";
    int lineNumber = 0, cases = 0;
    for (std::string line; std::getline(file, line);) {
        ++lineNumber;
        if (line.empty() || line[0] == '#')
            continue;
        std::u16string text;
        std::vector<std::size_t> expected, found{0};
        std::istringstream tokens(line.substr(0, line.find('#')));
        for (std::string token; tokens >> token;) {
            if (token == "\u00F7") {
                expected.push_back(text.size());
            } else if (token != "\u00D7") {
                const char32_t c = std::stoul(token, nullptr, 16);
                if (c >= 0x10000)
                    text += {char16_t(0xD800 + ((c - 0x10000) >> 10)), char16_t(0xDC00 + ((c - 0x10000) & 0x3FF))};
                else
                    text += char16_t(c);
            }
        }
        ForEachGrapheme(text, [&](std::u16string_view cluster) { found.push_back(found.back() + cluster.size()); });
        EXPECT_EQ(found, expected) << "line " << lineNumber << ": " << line;
        ++cases;
    }
    EXPECT_EQ(cases, 602) << "Unicode 15.0's file holds 602 cases";
}

TEST(ForEachGraphemeUnit, Table) {
    const std::u16string family = u"\U0001F468\u200D\U0001F469\u200D\U0001F467", france = u"\U0001F1EB\U0001F1F7",
                         d = u"\U0001F1E9", high = u"\xD800", low = u"\xDC00";
    struct Row {
        const char* name;
        std::u16string text;
        std::int32_t n;
        std::vector<std::pair<std::int32_t, std::u16string>> expected;
    } rows[] = {
        {"CR LF is one cluster", u"a\r\nb", 1, {{1, u"a"}, {2, u"\r\n"}, {4, u"b"}}},
        {"a unit never ends inside CR LF", u"ab\r\ncd", 3, {{1, u"ab\r\n"}, {5, u"cd"}}},
        {"family emoji whole", family + u"x", 1, {{1, family}, {9, u"x"}}},
        {"flags pair up, a third letter alone", france + d, 1, {{1, france}, {5, d}}},
        {"combining mark stays", u"e\u0301xy", 2, {{1, u"e\u0301x"}, {4, u"y"}}},
        {"lone surrogates alone", high + u"a" + low, 1, {{1, high}, {2, u"a"}, {3, low}}},
        {"n past the end", u"abc", 5, {{1, u"abc"}}},
        {"empty text", u"", 1, {}},
    };
    for (const Row& row : rows) {
        std::vector<std::pair<std::int32_t, std::u16string>> units;
        ForEachGraphemeUnit(row.text, row.n, [&](Unit unit) { units.emplace_back(unit.position, unit.text); });
        EXPECT_EQ(units, row.expected) << row.name;
    }
}

} // namespace
} // namespace velmorant
