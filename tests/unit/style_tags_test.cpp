#include "core/markup/formats.h"
#include "reference_rules.h"

#include <gtest/gtest.h>

namespace velmorant {
namespace {

TEST(WrapInStyleTags, Table) {
    // Styles in field order: bold, italic, underline, strike, size, font.
    struct Row {
        const char* name;
        std::u16string code;
        StyleOptions styles;
        std::u16string expected;
    } rows[] = {
        {"nothing chosen", u"G", {false, false, false, false, u"", u""}, u"G"},
        {"start-up choices", u"G", {false, false, false, false, u"1", u"宋体"}, u"[font=宋体][size=1]G[/size][/font]"},
        {"bold and strike",
         u"G",
         {true, false, false, true, u"7", u"Arial"},
         u"[font=Arial][size=7][strike][B]G[/B][/strike][/size][/font]"},
        {"all six, bold innermost",
         u"G",
         {true, true, true, true, u"3", u"F"},
         u"[font=F][size=3][strike][u][i][B]G[/B][/i][/u][/strike][/size][/font]"},
        {"size text verbatim", u"G", {false, false, false, false, u"x", u""}, u"[size=x]G[/size]"},
        {"blank size is not empty", u"G", {false, false, false, false, u" ", u""}, u"[size= ]G[/size]"},
        {"empty code still wrapped", u"", {true, false, false, false, u"", u""}, u"[B][/B]"},
        {"italic and underline case", u"G", {false, true, true, false, u"", u""}, u"[u][i]G[/i][/u]"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WrapInStyleTags(row.code, row.styles), row.expected) << row.name;
}

} // namespace
} // namespace velmorant
