#include "core/markup/gradient_markup.h"

#include "core/colour/colour_sets.h"
#include "core/colour/gradient.h"
#include "core/conversion/step_fit.h"
#include "core/markup/utf8_sink.h"
#include "core/text/code_points.h"
#include "core/text/graphemes.h"
#include "core/text/text.h"
#include "core/text/text_to_number.h"
#include "core/text/units.h"
#include "core/text/utf8.h"
#include "reference_rules.h"
#include "tests/cutting_sink.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <fstream>
#include <random>
#include <sstream>

namespace velmorant {
namespace {

const ColourPair RedToBlue{{255, 0, 0}, {0, 0, 255}};
const ColourPair StartUpPair{{255, 0, 255}, {0, 255, 0}};

// The CLI's way: the code made in pieces and sent on as UTF-8 chunks. Whatever
// the cuts and chunk sizes, the bytes must be those of the whole code encoded at once.
void ExpectStreamedAsWhole(std::u16string_view input, std::u16string_view step, const ColourPair& colours,
                           const TagTemplate& tags, std::u16string_view whole) {
    const std::string expected = EncodeUtf8(whole);
    const std::pair<std::size_t, std::size_t> cutsAndChunks[] = {
        {1, 1}, {2, 4}, {3, 5}, {7, 64 * 1024}, {8192, 64 * 1024}};
    for (const auto& [cut, chunkBytes] : cutsAndChunks) {
        std::string bytes;
        Utf8ChunkSink utf8(chunkBytes, [&](std::string_view chunk) {
            EXPECT_LE(chunk.size(), chunkBytes + 3);
            bytes += chunk;
        });
        CuttingSink cutting(utf8, cut);
        WriteGradientMarkup(input, step, colours, tags, cutting);
        utf8.Finish();
        ASSERT_EQ(bytes, expected) << "cut " << cut << ", chunks of " << chunkBytes;
    }
}

TEST(TagTemplates, StartUpAndPresets) {
    EXPECT_EQ(TemplateFor(kDefaultFormat), (TagTemplate{u"[color=#", u"]", u"[/color]"}));
    EXPECT_EQ(TemplateFor(kHtmlFormat), (TagTemplate{u"<font color=", u">", u"</font>"}));
    EXPECT_EQ(TemplateFor(kUbbFormat), (TagTemplate{u"[color=", u"]", u"[/color]"}));
    EXPECT_EQ(TemplateFor(kQqFormat), (TagTemplate{u"[ftc=", u"]", u"[/ft]"}));
}

// The icon draws the start-up gradient: its two stops are the start-up colours.
TEST(TagTemplates, IconShowsTheStartUpColours) {
    std::ifstream file(VELMORANT_ICON_SVG);
    std::stringstream svg;
    svg << file.rdbuf();
    std::string stops;
    for (std::size_t at = 0; (at = svg.str().find("stop-color=\"", at)) != std::string::npos; at += 12)
        stops += svg.str().substr(at + 12, 7) + " ";
    std::string expected;
    for (const Rgb& stop : ConversionRequest::Startup().gradient.stops) {
        const std::u16string code = ColourCode(stop);
        expected += "#";
        for (const char16_t c : code)
            expected += static_cast<char>(std::tolower(static_cast<int>(c)));
        expected += " ";
    }
    EXPECT_EQ(stops, expected);
}

// The check that the web page makes first answers without throwing; for anything
// it does not pass, converting throws. The length limit applies to the trimmed text.
TEST(CheckConversion, AnswersWhatConvertingWouldThrowFor) {
    // One unit past 32-bit positions, only its first and last pages readable.
    constexpr std::size_t length = kMaxTextChar16s + 1, page = 2048;
    void* memory =
        mmap(nullptr, length * sizeof(char16_t), PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(memory, MAP_FAILED);
    auto* text = static_cast<char16_t*>(memory);
    char16_t* lastPage = text + (length - page) / page * page;
    ASSERT_EQ(mprotect(text, page * sizeof(char16_t), PROT_READ | PROT_WRITE), 0);
    ASSERT_EQ(mprotect(lastPage, (text + length - lastPage) * sizeof(char16_t), PROT_READ | PROT_WRITE), 0);
    std::fill(text, text + page, u'a');
    std::fill(lastPage, text + length, u'a');
    const std::u16string_view tooLong(text, length);
    text[0] = u' ';
    const std::u16string_view fitsOnceTrimmed(text, length);

    ConversionRequest oneStop = ConversionRequest::Startup();
    oneStop.gradient.stops.pop_back();
    const struct Row {
        const char* name;
        std::u16string_view input;
        ConversionRequest request;
        ConversionProblem expected;
    } rows[] = {
        {"start-up request", u"Hi there", ConversionRequest::Startup(), ConversionProblem::None},
        {"one stop", u"Hi there", oneStop, ConversionProblem::BadGradient},
        {"one stop, empty text", u"", oneStop, ConversionProblem::BadGradient},
        {"no longer than the limit once trimmed", fitsOnceTrimmed, ConversionRequest::Startup(),
         ConversionProblem::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CheckConversion(row.input, row.request), row.expected);
        if (row.expected != ConversionProblem::None) {
            StringSink sink;
            EXPECT_ANY_THROW(WriteConversion(row.input, row.request, sink));
            EXPECT_ANY_THROW(FitConversion(row.input, row.request, 100));
        }
    }
    text[0] = u'a';
    EXPECT_EQ(CheckConversion(tooLong, ConversionRequest::Startup()), ConversionProblem::TextTooLong);
    StringSink sink;
    EXPECT_THROW(WriteConversion(tooLong, ConversionRequest::Startup(), sink), std::length_error);
    munmap(memory, length * sizeof(char16_t));
}

TEST(ComposeGradientMarkup, Table) {
    struct Row {
        const char* name;
        std::u16string input, step;
        ColourPair colours;
        TagTemplate tags;
        std::u16string expected;
    } rows[] = {
        {"abc", u"abc", u"1", RedToBlue, TemplateFor(kDefaultFormat),
         u"[color=#AA0055]a[/color][color=#5500AA]b[/color][color=#0000FF]c[/color]"},
        {"html preset", u"abc", u"1", RedToBlue, TemplateFor(kHtmlFormat),
         u"<font color=AA0055>a</font><font color=5500AA>b</font><font color=0000FF>c</font>"},
        {"qq preset", u"a", u"1", {{170, 0, 85}, {170, 0, 85}}, TemplateFor(kQqFormat), u"[ftc=AA0055]a[/ft]"},
        {"blank copied, gradient moves on", u"Hi there", u"1", StartUpPair, TemplateFor(kDefaultFormat),
         u"[color=#DF20DF]H[/color][color=#BF40BF]i[/color] [color=#808080]t[/color][color=#609F60]h[/color]"
         u"[color=#40BF40]e[/color][color=#20DF20]r[/color][color=#00FF00]e[/color]"},
        {"step 2", u"abcdef", u"2", RedToBlue, TemplateFor(kDefaultFormat),
         u"[color=#D4002A]ab[/color][color=#800080]cd[/color][color=#2A00D4]ef[/color]"},
        {"step 3, short last unit", u"abcd", u"3", RedToBlue, TemplateFor(kDefaultFormat),
         u"[color=#BF0040]abc[/color][color=#0000FF]d[/color]"},
        {"step n falls back", u"abcd", u"4", RedToBlue, TemplateFor(kDefaultFormat),
         u"[color=#BF0040]a[/color][color=#800080]b[/color][color=#4000BF]c[/color][color=#0000FF]d[/color]"},
        {"blanks trimmed first", u"  ab  ", u"1", RedToBlue, TemplateFor(kDefaultFormat),
         u"[color=#800080]a[/color][color=#0000FF]b[/color]"},
        {"line break, step 1", u"ab\r\ncd", u"1", RedToBlue, TemplateFor(kDefaultFormat),
         u"[color=#D4002A]a[/color][color=#AA0055]b[/color]\r\n[color=#2A00D4]c[/color][color=#0000FF]d[/color]"},
        {"line break, step 2", u"ab\r\ncd", u"2", RedToBlue, TemplateFor(kDefaultFormat),
         u"[color=#D4002A]ab[/color][color=#800080]\r\n[/color][color=#2A00D4]cd[/color]"},
        {"one character gets the end colour", u"x", u"1", RedToBlue, TemplateFor(kDefaultFormat),
         u"[color=#0000FF]x[/color]"},
        {"equal ends, one code throughout", u"abc", u"1", {{1, 2, 3}, {1, 2, 3}}, {}, u"010203a010203b010203c"},
        {"empty template", u"abc", u"1", RedToBlue, {}, u"AA0055a5500AAb0000FFc"},
        {"empty input", u"", u"1", RedToBlue, TemplateFor(kDefaultFormat), u""},
        {"blanks only", u"   ", u"1", RedToBlue, TemplateFor(kDefaultFormat), u""},
        {"step 2: two blanks raw, blank and letter coloured", u"a   b", u"2", RedToBlue, {}, u"CC0033a   0000FFb"},
        {"tab raw with step 1", u"a\tb", u"1", RedToBlue, {}, u"AA0055a\t0000FFb"},
        {"length minus one: second unit in end colour", u"abc", u"2", RedToBlue, {}, u"AA0055ab0000FFc"},
        {"step 2.5 reads as 2", u"abcde", u"2.5", RedToBlue, {}, u"CC0033ab660099cd0000FFe"},
        {"negative step is 1", u"ab", u"-1", RedToBlue, {}, u"800080a0000FFb"},
        {"ideographic space is coloured", u"\u3000", u"1", RedToBlue, {}, u"0000FF\u3000"},
        {"surrogate pair stays whole", u"\U0001F600b", u"1", RedToBlue, {}, u"AA0055\U0001F6000000FFb"},
        {"channels outside 0..255 write no digits", u"ab", u"1", {{256, 0, 0}, {256, 0, 0}}, {}, u"0000a0000b"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ComposeGradientMarkup(row.input, row.step, row.colours, row.tags), row.expected);
        ExpectStreamedAsWhole(row.input, row.step, row.colours, row.tags, row.expected);
    }
}

// Units of whole clusters, end stops, and CR LF kept whole: the default template, red to blue.
TEST(WriteConversion, UnitRules) {
    const std::u16string family = u"\U0001F468\u200D\U0001F469\u200D\U0001F467", china = u"\U0001F1E8\U0001F1F3";
    const struct Row {
        const char* name;
        std::u16string input, step;
        UnitRule rule;
        std::u16string expected;
    } rows[] = {
        {"end stops: first unit red, last blue",
         u"abc",
         u"1",
         {false, true},
         u"[color=#FF0000]a[/color][color=#800080]b[/color][color=#0000FF]c[/color]"},
        {"end stops: a final line break ends no gradient",
         u"ab\r\n",
         u"1",
         {false, true},
         u"[color=#FF0000]a[/color][color=#0000FF]b[/color]\r\n"},
        {"end stops: one unit wears the first stop", u"x", u"1", {false, true}, u"[color=#FF0000]x[/color]"},
        {"end stops count units, not characters",
         u"abcde",
         u"2",
         {false, true},
         u"[color=#FF0000]ab[/color][color=#800080]cd[/color][color=#0000FF]e[/color]"},
        {"clusters: a family is one unit",
         family + u"a",
         u"1",
         {true, false},
         u"[color=#800080]" + family + u"[/color][color=#0000FF]a[/color]"},
        {"clusters: CR LF alone passes raw",
         u"a\r\nb",
         u"1",
         {true, false},
         u"[color=#AA0055]a[/color]\r\n[color=#0000FF]b[/color]"},
        {"clusters and end stops: a flag and an accented letter",
         china + u"e\u0301",
         u"1",
         {true, true},
         u"[color=#FF0000]" + china + u"[/color][color=#0000FF]e\u0301[/color]"},
        {"step 3 keeps CR LF whole", u"ab\r\ncd", u"3", {}, u"[color=#D4002A]ab\r\n[/color][color=#5500AA]cd[/color]"},
    };
    for (const Row& row : rows) {
        ConversionRequest request;
        request.gradient = {{{255, 0, 0}, {0, 0, 255}}, Blend::Srgb};
        request.tags = TemplateFor(kDefaultFormat);
        request.step = row.step;
        request.graphemes = row.rule.graphemes;
        request.endStops = row.rule.endStops;
        StringSink sink;
        WriteConversion(row.input, request, sink);
        EXPECT_EQ(EncodeUtf8(sink.text), EncodeUtf8(row.expected)) << row.name;
    }
}

// The start-up sample ends in CR LF: both pass through, and the last visible
// character stops two positions short of the end colour.
TEST(ComposeGradientMarkup, FinalLineBreak) {
    const std::u16string markup = ComposeGradientMarkup(u"abcd\r\n", u"1", RedToBlue, {});
    EXPECT_EQ(markup, u"D4002Aa"
                      u"AA0055b"
                      u"800080c"
                      u"5500AAd"
                      u"\r\n");
}

// The generator against the rule written out plainly, unit by unit.
TEST(ComposeGradientMarkup, MatchesPlainRule) {
    std::mt19937 random(7);
    const char16_t alphabet[] = u"  ab\t\r\n\u4E2D\u3000\xD83D\xDE00";
    const TagTemplate templates[] = {
        TemplateFor(kDefaultFormat), TemplateFor(kHtmlFormat), {}, {u"<<", u"", u"long closing text"}};
    for (int trial = 0; trial < 3000; ++trial) {
        std::u16string input(random() % 40, u' ');
        for (char16_t& c : input)
            c = alphabet[random() % (std::size(alphabet) - 1)];
        const std::u16string step = trial % 5 == 0 ? u"x" : std::u16string(1, char16_t(u'0' + random() % 10));
        const auto channel = [&] { return static_cast<Channel>(random() % 256); };
        const ColourPair pair{{channel(), channel(), channel()}, {channel(), channel(), channel()}};
        const TagTemplate& tags = templates[trial % std::size(templates)];

        const std::u16string_view text = TrimBlanks(input);
        const auto n = static_cast<std::int32_t>(text.size());
        std::u16string expected;
        ForEachUnit(text, EffectiveStep(step, n), [&](const Unit& unit) {
            if (IsRawUnit(unit.text))
                expected += unit.text;
            else
                expected += tags.Open + ColourCode(BlendAt(pair, unit.position, n)) + tags.Middle +
                            std::u16string(unit.text) + tags.Close;
        });
        ASSERT_EQ(ComposeGradientMarkup(input, step, pair, tags), expected) << "trial " << trial;
        if (trial % 10 == 0) {
            SCOPED_TRACE(trial);
            ExpectStreamedAsWhole(input, step, pair, tags, expected);
        }
    }
}

// Several stops, Oklab, merged runs, decimal and named codes through the one unit loop,
// against the rules written out plainly; and the length counted for --fit
// against the code actually made.
TEST(WriteGradientMarkup, FormsAndCountedLengthMatchPlainRule) {
    std::mt19937 random(11);
    // With a combining mark, a joiner and flag letters, clusters run over several code points.
    const char16_t alphabet[] = u"  aab\t\r\n\u4E2D\xD83D\xDE00\u0301\u200D\xD83C\xDDE8";
    const TagTemplate templates[] = {
        TemplateFor(kDefaultFormat), {}, {u"\x1b[38;2;", u"m", u"\x1b[0m"}, {u"\xD83D\xDE00", u"", u"]"}};
    for (int trial = 0; trial < 3000; ++trial) {
        std::u16string input(random() % 40, u' ');
        for (char16_t& c : input)
            c = alphabet[random() % (std::size(alphabet) - 1)];
        // Few distinct channel values, so that merging has neighbours to join.
        const auto channel = [&] { return static_cast<Channel>(random() % 2 ? 0 : 255); };
        Gradient gradient{{}, trial % 3 == 0 ? Blend::Oklab : Blend::Srgb};
        for (int stop = 0, stops = 2 + static_cast<int>(random() % 3); stop < stops; ++stop)
            gradient.stops.push_back({channel(), channel(), channel()});
        const ColourSet* set = trial % 3 == 1 ? FindColourSet("nga") : nullptr;
        const MarkupForm form{set ? CodeStyle::Named : trial % 2 ? CodeStyle::Decimal : CodeStyle::Hex,
                              trial % 4 < 2,
                              Escaping::None,
                              0,
                              {},
                              set};
        const TagTemplate& tags = templates[trial % std::size(templates)];
        const std::u16string before = trial % 5 ? u"[B]" : u"", after = trial % 5 ? u"[/B]" : u"";

        const UnitRule rule{trial % 8 >= 4, trial % 8 >= 6 || trial % 8 == 1, trial % 5 == 2};
        const GradientText text = PrepareGradientText(input, std::u16string(1, char16_t(u'1' + random() % 4)), rule);
        // With end stops, unit u of the coloured a..b sits at (u - a) / (b - a).
        std::vector<std::int32_t> coloured{0};
        std::int32_t index = 0;
        ForEachUnit(text.text, text.step, rule, [&](const Unit& unit) {
            if (!IsRawUnit(unit.text, rule))
                coloured.push_back(index);
            ++index;
        });
        const std::int32_t a = coloured[std::min<std::size_t>(1, coloured.size() - 1)], b = coloured.back();
        index = 0;
        std::u16string expected;
        std::size_t expectedPairs = 0;
        double distance = 0, written = 0; // the largest from a unit's colour to its member
        bool runOpen = false;             // a merged run of runColour waits for its Close
        Rgb runColour;
        ForEachUnit(text.text, text.step, rule, [&](const Unit& unit) {
            const std::int32_t u = index++;
            if (IsRawUnit(unit.text, rule)) {
                expected += runOpen ? tags.Close : u"";
                runOpen = false;
                expected += unit.text;
                return;
            }
            Rgb colour = rule.endStops ? GradientAt(gradient, u - a, std::max(b - a, 1))
                                       : GradientAt(gradient, unit.position, text.length);
            // The member nearest by plain search over the whole set.
            const NamedCode* member = nullptr;
            for (const NamedCode& m : set ? set->colours : std::span<const NamedCode>{})
                if (!member || OklabDistance(colour, UnpackRgb(m.rgb)) < OklabDistance(colour, UnpackRgb(member->rgb)))
                    member = &m;
            if (member) {
                distance = std::max(distance, OklabDistance(colour, UnpackRgb(member->rgb)));
                colour = UnpackRgb(member->rgb);
            }
            if (!(runOpen && runColour == colour)) {
                std::u16string code = member ? std::u16string(member->code) : ColourCode(colour);
                if (form.code == CodeStyle::Decimal) {
                    const std::string decimal = std::to_string(colour.red) + ";" + std::to_string(colour.green) + ";" +
                                                std::to_string(colour.blue);
                    code.assign(decimal.begin(), decimal.end());
                }
                expected += (runOpen ? tags.Close : u"") + tags.Open + code + tags.Middle;
                ++expectedPairs;
            }
            expected += unit.text;
            if (form.merge) {
                runOpen = true;
                runColour = colour;
            } else {
                expected += tags.Close;
            }
        });
        expected += runOpen ? tags.Close : u"";

        StringSink sink;
        std::size_t pairs = 0;
        if (text.length > 0)
            pairs = WriteGradientMarkup(text, gradient, tags, form, sink, &written);
        ASSERT_EQ(sink.text, expected) << "trial " << trial;
        ASSERT_EQ(pairs, expectedPairs) << "trial " << trial;
        ASSERT_NEAR(written, distance, 1e-12) << "trial " << trial;
        const OutputLengths lengths(text.text, gradient, {tags, form, {before, after}}, kCodePoints, rule);
        ASSERT_EQ(lengths.For(text.step), CountCodePoints(before + expected + after)) << "trial " << trial;
    }
}

} // namespace
} // namespace velmorant
