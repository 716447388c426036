// Every format: one row of its whole code, and one property over all of them:
// what is written reads back as the same text and colours, read back into
// settings it is written again byte for byte, and the fit's count of length and
// tags is what is written.

#include "core/colour/colour.h"
#include "core/colour/colour_sets.h"
#include "core/colour/css_colour.h"
#include "core/conversion/conversion.h"
#include "core/conversion/read_back.h"
#include "core/conversion/visible_controls.h"
#include "core/markup/counting_sink.h"
#include "core/markup/decode.h"
#include "core/markup/formats.h"
#include "core/markup/gradient_markup.h"
#include "core/text/graphemes.h"
#include "core/text/text.h"
#include "core/text/units.h"
#include "core/text/utf8.h"

#include "reference_rules.h"

#include <gtest/gtest.h>

#include <random>

namespace velmorant {
namespace {

ConversionRequest RequestFor(const Format& format) {
    ConversionRequest request = ConversionRequest::Startup();
    request.format = &format;
    request.tags = format.Template();
    return request;
}

std::u16string Write(std::u16string_view input, const ConversionRequest& request, std::int32_t step = 0) {
    StringSink sink;
    WriteConversion(input, request, sink, step > 0 ? std::optional(step) : std::nullopt);
    return sink.text;
}

TEST(Formats, EachWritesItsOwnCode) {
    const struct {
        std::string_view name;
        std::u16string_view code;
    } rows[] = {
        {"default", u"[font=F][size=3][B][color=#E3001C]a<[&[/color][color=#71008E]\\§ "
                    u"\"[/color][color=#0000FF]b[/color][/B][/size][/font]"},
        {"html", u"[font=F][size=3][B]<font color=E3001C>a<[&</font><font color=71008E>\\§ \"</font><font "
                 u"color=0000FF>b</font>[/B][/size][/font]"},
        {"ubb", u"[font=F][size=3][B][color=E3001C]a<[&[/color][color=71008E]\\§ "
                u"\"[/color][color=0000FF]b[/color][/B][/size][/font]"},
        {"qq", u"[font=F][size=3][B][ftc=E3001C]a<[&[/ft][ftc=71008E]\\§ \"[/ft][ftc=0000FF]b[/ft][/B][/size][/font]"},
        {"ansi", u"\x1b[38;2;227;0;28ma<[&\x1b[0m\x1b[38;2;113;0;142m\\§ \"\x1b[0m\x1b[38;2;0;0;255mb\x1b[0m"},
        {"span", u"<span style=\"font-family:F\"><span style=\"font-size:medium\"><b><span "
                 u"style=\"color:#e3001c\">a&lt;[&amp;</span><span style=\"color:#71008e\">\\§ &quot;</span><span "
                 u"style=\"color:#0000ff\">b</span></b></span></span>"},
        {"bbcode", u"[font=F][size=3][b][color=#e3001c]a<[[b][/b]&[/color][color=#71008e]\\§ "
                   u"\"[/color][color=#0000ff]b[/color][/b][/size][/font]"},
        {"minecraft", u"&#E3001C&la<[&&#E3001C&l&#71008E&l\\§ \"&#0000FF&lb"},
        {"minecraft-section", u"§x§E§3§0§0§1§C§la<[&§x§7§1§0§0§8§E§l\\§§x§7§1§0§0§8§E§l \"§x§0§0§0§0§F§F§lb"},
        {"minimessage", u"<b><#e3001c>a\\<[&<#71008e>\\\\§ \"<#0000ff>b</b>"},
        {"smf", u"[size=3][b][color=#e3001c]a<[nobbc][[/nobbc]&[/color][color=#71008e]\\§ "
                u"\"[/color][color=#0000ff]b[/color][/b][/size]"},
        {"discuz", u"[font=F][size=3][b][color=#e3001c]a<[[b][/b]&[/color][color=#71008e]\\§ "
                   u"\"[/color][color=#0000ff]b[/color][/b][/size][/font]"},
        {"nga", u"[size=100%][b][color=crimson]a<[[b][/b]&[/color][color=purple]\\§ "
                u"\"[/color][color=blue]b[/color][/b][/size]"},
        {"minecraft-bedrock", u"§l§ca<[&§5\\§ \"§9b"},
        {"minecraft-essentials", u"&#E3001C&la<[&#71008E&l&#E3001C&l&\\&#71008E&l§ \"&#0000FF&lb"},
        {"phpbb",
         u"[size=100][b][color=#e3001c]a<[&[/color][color=#71008e]\\§ \"[/color][color=#0000ff]b[/color][/b][/size]"},
        {"mybb", u"[font=F][size=medium][b][color=#e3001c]a<[&[/color][color=#71008e]\\§ "
                 u"\"[/color][color=#0000ff]b[/color][/b][/size][/font]"},
        {"xenforo", u"[font=F][size=3][b][color=#e3001c]a<[&[/color][color=#71008e]\\§ "
                    u"\"[/color][color=#0000ff]b[/color][/b][/size][/font]"},
        {"terraria", u"[c/e3001c:a<[&][c/71008e:\\ § \"][c/0000ff:b]"},
        {"discord", u"```ansi\n\x1b[0m\x1b[1m\x1b[31ma<[&\x1b[30m\\§ \"\x1b[34mb\x1b[0m\n```"},
    };
    ASSERT_EQ(std::size(rows), Formats().size());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Format* format = FindFormat(row.name);
        ASSERT_NE(format, nullptr);
        ConversionRequest request = RequestFor(*format);
        request.gradient = {{{255, 0, 0}, {0, 0, 255}}, Blend::Srgb};
        request.step = u"4";
        request.styles = {true, false, false, false, u"3", u"F"};
        EXPECT_EQ(Write(u"a<[&\\§ \"b", request), row.code);
    }
}

// The characters a text is drawn from: every format's markup characters, an
// emoji (a surrogate pair), CR LF, blanks, tabs, and clusters of many code points.
constexpr std::u16string_view kPieces[] = {
    u"a", u"Z", u"你", u"😀", u"<", u">", u"&", u"[", u"]", u"\\", u"\"", u"§", u"#", u";", u"/", u"=", u"\r\n", u"\n",
    u"\r", u" ", u"  ", u"\t", u"\u00a0", u"&nbsp;", u"<br>", u"[b][/b]", u"&#FF0000", u"<#00ff00>",
    // clusters of several code points: a family, a flag, accents
    u"\U0001F468\u200D\U0001F469\u200D\U0001F467", u"\U0001F1E8\U0001F1F3", u"e\u0301\u0323", u"\u0301",
    // sequences some places read: an entity, a command, a smiley; what only some forums read as markup
    u"/M", u"&amp;", u"[nobbc]", u":)", u"[*]", u"[/url=", u"&#91;", u"(C)", u"/me ", u"[b:1]"};

// What a chat line of tags ending at "]" shows: one line, and a blank after a "\".
std::u16string TagTextShown(std::u16string_view text) {
    std::u16string shown;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == u'\n' && i > 0 && text[i - 1] == u'\r'))
            shown += text[i] == u'\\' ? u"\\ " : IsRawAlone(text[i]) ? u" " : std::u16string(1, text[i]);
    return shown;
}

// A window format reads back only texts without its own tag texts: no bracket or angle tags there.
bool WindowSafe(std::u16string_view piece) { return piece.find_first_of(u"[<") == std::u16string_view::npos; }

TEST(Formats, EveryCodeReadsBackAsItsTextAndColours) {
    std::mt19937 random(20);
    for (int trial = 0; trial < 300; ++trial) {
        for (const Format& format : Formats()) {
            SCOPED_TRACE(std::string(format.name) + ", trial " + std::to_string(trial));
            const bool window = format.escaping == Escaping::None || format.escaping == Escaping::Terminal;
            std::u16string input;
            const int pieces = static_cast<int>(random() % 12);
            while (static_cast<int>(input.size()) < pieces) {
                const std::u16string_view piece = kPieces[random() % std::size(kPieces)];
                // Bedrock has no escape for a typed "§": its place writes another character instead.
                const bool section = format.open == u"\u00a7" && piece.find(u'\u00a7') != piece.npos;
                if ((!window || WindowSafe(piece)) && !section)
                    input += piece;
            }
            ConversionRequest request = RequestFor(format);
            request.graphemes = trial % 4 >= 2;
            request.endStops = trial % 2 == 1;
            const UnitRule rule = request.Rule();
            request.gradient = {{{static_cast<Channel>(random() % 256), static_cast<Channel>(random() % 256),
                                  static_cast<Channel>(random() % 256)},
                                 {static_cast<Channel>(random() % 256), static_cast<Channel>(random() % 256),
                                  static_cast<Channel>(random() % 256)}},
                                random() % 2 ? Blend::Oklab : Blend::Srgb};
            request.merge = random() % 2;
            request.styles = {random() % 2 == 0, random() % 2 == 0, random() % 2 == 0, random() % 2 == 0, u"2",
                              u"Arial"};
            std::u16string storage;
            const std::u16string_view shown =
                TrimBlanks(format.escaping == Escaping::Terminal ? ShowControls(input, storage) : input);
            const auto n = PrepareGradientText(shown, u"1", rule).length;
            for (std::int32_t step = 1; step <= std::max(1, n); ++step) {
                SCOPED_TRACE("step " + std::to_string(step) + (request.merge ? ", merged" : "") +
                             (rule.graphemes ? ", clusters" : "") + (rule.endStops ? ", end stops" : ""));
                StringSink whole;
                CountingSink counted(whole);
                const ConversionCounts counts = WriteConversion(input, request, counted, step);
                const DecodedCode decoded = DecodeCode(whole.text, format, request.tags);
                const std::u16string expected =
                    format.escaping == Escaping::TagText ? TagTextShown(shown) : std::u16string(shown);
                ASSERT_EQ(decoded.text, expected) << "code: " << EncodeUtf8(whole.text);
                // Its own format explains all of it, so detection never passes it over.
                ASSERT_TRUE(decoded.explained) << "code: " << EncodeUtf8(whole.text);
                const Detection detected = step == 1 ? DetectFormats(whole.text) : Detection{};
                ASSERT_TRUE(!detected.Chosen() ||
                            DecodeCode(whole.text, *detected.Chosen(), request.tags).text == expected)
                    << "read as " << detected.Chosen()->name;
                const CodeMeasure measure = MeasureConversion(input, request, step);
                EXPECT_EQ(measure.length, counted.CodePoints());
                EXPECT_EQ(measure.tags, counts.tagPairs);
                // Tag breaks, and once any is written a style tag of their name, are uses of that tag.
                const auto uses = [&](std::u16string_view tag) {
                    std::uint64_t n = 0;
                    for (auto at = whole.text.find(tag); !tag.empty() && at != std::u16string::npos;
                         at = whole.text.find(tag, at + 1))
                        ++n;
                    return n;
                };
                const std::u16string_view tag = format.tagBreak.substr(0, format.tagBreak.find(u']') + 1);
                const bool broken = !format.tagBreak.empty() && uses(u"[" + std::u16string(format.tagBreak)) > 0;
                EXPECT_EQ(measure.breakTags, broken ? uses(tag) : 0) << EncodeUtf8(whole.text);
                // A text the place shows otherwise reads back as what it shows, not as typed.
                if (expected != shown)
                    continue;
                // EssentialsX can show no code right after a typed "&": the units round one share a colour.
                const bool essentials = format.escaping == Escaping::Essentials;
                if (n > 0) {
                    // With end stops, unit u of the coloured a..b sits at (u - a) / (b - a).
                    std::vector<std::int32_t> coloured;
                    std::vector<bool> clusterEnds(shown.size() + 1, !rule.graphemes);
                    clusterEnds[0] = true;
                    ForEachGrapheme(shown, [&](std::u16string_view cluster) {
                        clusterEnds[static_cast<std::size_t>(cluster.data() - shown.data()) + cluster.size()] = true;
                    });
                    std::int32_t index = 0;
                    ForEachUnit(shown, step, rule, [&](const Unit& unit) {
                        if (!IsRawUnit(unit.text, rule))
                            coloured.push_back(index);
                        ++index;
                    });
                    index = 0;
                    bool afterAmpersand = false;
                    ForEachUnit(shown, step, rule, [&](const Unit& unit) {
                        const std::int32_t u = index++;
                        const bool skip = essentials && (afterAmpersand || unit.text.find(u'&') != unit.text.npos);
                        afterAmpersand = unit.text.back() == u'&' || (afterAmpersand && IsRawUnit(unit.text, rule));
                        const auto at = static_cast<std::size_t>(unit.text.data() - shown.data());
                        const std::size_t end = at + unit.text.size();
                        // Units hold whole clusters, and none ends between CR and LF but at step 1.
                        ASSERT_TRUE(clusterEnds[end]) << "at " << end;
                        ASSERT_FALSE(step > 1 && IsLineBreakPair(shown, end - 1)) << "at " << end;
                        if (IsRawUnit(unit.text, rule) || skip)
                            return;
                        const std::int32_t a = coloured.front(), b = coloured.back();
                        const Rgb c = rule.endStops ? GradientAt(request.gradient, u - a, std::max(b - a, 1))
                                                    : GradientAt(request.gradient, unit.position, n);
                        if (rule.endStops && (u == a || u == b))
                            ASSERT_EQ(c, u == a ? request.gradient.stops.front() : request.gradient.stops.back());
                        // A place taking only some colours shows the member nearest.
                        const Rgb w = format.colours ? UnpackRgb(Nearest(*format.colours, c).rgb) : c;
                        for (std::size_t i = at; i < end; ++i)
                            ASSERT_EQ(decoded.colourAt[i], w.red << 16 | w.green << 8 | w.blue) << "at " << i;
                    });
                }
                // Whole-text units are the fit's alone: the step text gives 1 to n - 1.
                const ReadBack back = ReadCodeBack(whole.text, format, request.tags, rule);
                ConversionRequest again = RequestFor(format);
                again.graphemes = rule.graphemes;
                again.endStops = rule.endStops;
                again.step = DecodeUtf8(std::to_string(back.step)).text;
                again.merge = back.merge;
                again.styles = back.styles;
                std::string_view bad;
                ASSERT_TRUE(back.colours.empty() || ReadStops(back.colours, again.gradient, bad)) << back.colours;
                // A named colour with no close tag reads alike restated after a line break or not: compared as read.
                const bool asRead = format.colours && format.close.empty();
                if ((step == 1 || step < n) && !(essentials && shown.find(u'&') != shown.npos) && !asRead)
                    EXPECT_EQ(EncodeUtf8(Write(back.text, again)), EncodeUtf8(whole.text)) << "stops: " << back.colours;
                if ((step == 1 || step < n) && asRead)
                    EXPECT_EQ(DecodeCode(Write(back.text, again), format, request.tags).colourAt, decoded.colourAt);
            }
        }
    }
}

// Codes read back as issues met them: each unit keeps its own colour, and a code
// whose colours need more stops than the bound says so rather than half apply.
TEST(Formats, ReadBackKeepsEachUnitsColour) {
    std::u16string random, gradient;
    std::mt19937 draw(24);
    for (int i = 0; i < 210000; ++i)
        random += u"&#" +
                  ColourCode({static_cast<Channel>(draw() % 256), static_cast<Channel>(draw() % 256),
                              static_cast<Channel>(draw() % 256)}) +
                  u"x";
    ConversionRequest two = RequestFor(*FindFormat("minecraft"));
    gradient = Write(std::u16string(210000, u'x'), two);
    const struct Row {
        const char* name;
        std::u16string code;
        const char* format;
        bool tooMany;
    } rows[] = {
        {"three colours, one a unit", u"&#FF0000H&#FF8800i&#FFFF00!", "minecraft", false},
        {"two tags", u"[color=#FF0000]A[/color][color=#00FF00]B[/color]", "default", false},
        {"210,000 units of two colours", gradient, "minecraft", false},
        {"210,000 random colours", random, "minecraft", true},
    };
    for (const Row& row : rows) {
        const Format& format = *FindFormat(row.format);
        const ReadBack back = ReadCodeBack(row.code, format, format.Template());
        EXPECT_EQ(back.tooMany, row.tooMany) << row.name;
        EXPECT_EQ(back.colours.empty(), row.tooMany) << row.name;
        if (row.tooMany)
            continue;
        ConversionRequest again = RequestFor(format);
        std::string_view bad;
        ASSERT_TRUE(ReadStops(back.colours, again.gradient, bad)) << row.name;
        again.step = DecodeUtf8(std::to_string(back.step)).text;
        again.styles = back.styles;
        EXPECT_EQ(EncodeUtf8(Write(back.text, again)), EncodeUtf8(row.code)) << row.name;
    }
}

} // namespace
} // namespace velmorant
