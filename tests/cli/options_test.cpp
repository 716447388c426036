#include "cli/options.h"
#include "cli/shell_quote.h"
#include "core/colour/palettes.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace velmorant::cli {
namespace {

std::variant<Options, UsageError> Parse(const std::vector<std::string_view>& args) { return ParseOptions(args); }

void ExpectSameOptions(const Options& actual, const Options& expected) {
    EXPECT_EQ(actual.help, expected.help);
    EXPECT_EQ(actual.version, expected.version);
    const ConversionRequest &a = actual.Request(), &e = expected.Request();
    EXPECT_EQ(a.gradient.stops, e.gradient.stops);
    EXPECT_EQ(a.gradient.blend, e.gradient.blend);
    EXPECT_EQ(a.format, e.format);
    EXPECT_EQ(a.destination, e.destination);
    EXPECT_EQ(a.gradient.positions, e.gradient.positions);
    EXPECT_EQ(a.gradient.readable, e.gradient.readable);
    EXPECT_EQ(a.background, e.background);
    EXPECT_EQ(a.readable, e.readable);
    EXPECT_EQ(a.merge, e.merge);
    EXPECT_EQ(actual.settings.fit, expected.settings.fit);
    EXPECT_EQ(actual.settings.maxTags, expected.settings.maxTags);
    EXPECT_EQ(actual.stats, expected.stats);
    EXPECT_EQ(a.tags, e.tags);
    EXPECT_EQ(a.step, e.step);
    EXPECT_EQ(a.styles.bold, e.styles.bold);
    EXPECT_EQ(a.styles.italic, e.styles.italic);
    EXPECT_EQ(a.styles.underline, e.styles.underline);
    EXPECT_EQ(a.styles.strikethrough, e.styles.strikethrough);
    EXPECT_EQ(a.styles.size, e.styles.size);
    EXPECT_EQ(a.styles.font, e.styles.font);
    EXPECT_EQ(actual.file, expected.file);
}

// What --format does: the format and its template.
void UseFormat(Options& o, std::string_view name) {
    o.settings.request.format = FindFormat(name);
    o.settings.request.tags = o.settings.request.format->Template();
}

struct AcceptedCase {
    const char* name;
    std::vector<std::string_view> args;
    std::function<void(Options&)> expect; // applied to the start-up options
};

TEST(ParseOptions, AcceptsEveryOptionInBothForms) {
    const std::vector<AcceptedCase> cases{
        {"no arguments: start-up values", {}, [](Options&) {}},
        {"start",
         {"--start", "FF0000"},
         [](Options& o) {
             o.settings.request.gradient.stops.front() = {255, 0, 0};
         }},
        {"start with hash and =",
         {"--start=#00aBcD"},
         [](Options& o) {
             o.settings.request.gradient.stops.front() = {0, 0xAB, 0xCD};
         }},
        {"end",
         {"--end", "#0000FF"},
         [](Options& o) {
             o.settings.request.gradient.stops.back() = {0, 0, 255};
         }},
        {"start by CSS name",
         {"--start", "Orange"},
         [](Options& o) {
             o.settings.request.gradient.stops.front() = {255, 165, 0};
         }},
        {"end as #RGB",
         {"--end=#f0a"},
         [](Options& o) {
             o.settings.request.gradient.stops.back() = {255, 0, 170};
         }},
        {"three colours",
         {"--colours", "red,#0f0,0000FF"},
         [](Options& o) {
             o.settings.request.gradient.stops = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
         }},
        {"start and end after colours move its ends",
         {"--colours=red,lime,blue", "--start", "white", "--end", "black"},
         [](Options& o) {
             o.settings.request.gradient.stops = {{255, 255, 255}, {0, 255, 0}, {0, 0, 0}};
         }},
        {"blend oklab", {"--blend", "oklab"}, [](Options& o) { o.settings.request.gradient.blend = Blend::Oklab; }},
        {"blend srgb", {"--blend=oklab", "--blend=srgb"}, [](Options&) {}},
        {"blend with a hue method",
         {"--blend", "oklch longer hue"},
         [](Options& o) {
             o.settings.request.gradient.blend = {Space::Oklch, HueMethod::Longer};
         }},
        {"CSS stops",
         {"--colours", "rgb(255 0 0), hsl(240 100% 50%) 30%, lime"},
         [](Options& o) {
             o.settings.request.gradient.stops = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
             o.settings.request.gradient.positions = {0, 0.3, 1};
         }},
        {"palette then blend",
         {"--palette", "rainbow", "--blend", "lab"},
         [](Options& o) {
             ApplyPalette("rainbow", o.settings.request.gradient);
             o.settings.request.gradient.blend = {Space::Lab};
         }},
        {"dialect ansi", {"--dialect", "ansi"}, [](Options& o) { UseFormat(o, "ansi"); }},
        {"merge, fit and stats",
         {"--merge", "--fit", "10000", "--stats"},
         [](Options& o) { o.settings.request.merge = o.stats = true, o.settings.fit = 10000; }},
        {"fit zero", {"--fit=0"}, [](Options& o) { o.settings.fit = 0; }},
        {"readable alone is AA, on white without a background",
         {"--readable"},
         [](Options& o) {
             o.settings.request.readable = ReadableGoal{};
             o.settings.request.gradient.readable = ReadableFilter{{255, 255, 255}, {false, 4.5}};
         }},
        {"readable takes the background given after it, and large text's target",
         {"--readable=aaa", "--size", "5", "--background", "rgb(30 30 30)"},
         [](Options& o) {
             o.settings.request.readable = ReadableGoal{ReadableGoal::Kind::Aaa};
             o.settings.request.background = Rgb{30, 30, 30};
             o.settings.request.styles.size = u"5";
             o.settings.request.gradient.readable = ReadableFilter{{30, 30, 30}, {false, 4.5}};
         }},
        {"dialect html", {"--dialect", "html"}, [](Options& o) { UseFormat(o, "html"); }},
        {"dialect ubb", {"--dialect=ubb"}, [](Options& o) { UseFormat(o, "ubb"); }},
        {"dialect qq", {"--dialect", "qq"}, [](Options& o) { UseFormat(o, "qq"); }},
        {"open middle close",
         {"--open", "<b c=", "--middle=>", "--close", "</b>"},
         [](Options& o) {
             o.settings.request.tags = {u"<b c=", u">", u"</b>"};
         }},
        {"empty template texts",
         {"--open=", "--middle", "", "--close="},
         [](Options& o) { o.settings.request.tags = {}; }},
        // Built first: assigning the literal trips a false -Wrestrict in GCC 12.
        {"step", {"--step", "3"}, [](Options& o) { o.settings.request.step = std::u16string(u"3"); }},
        {"negative step is a value",
         {"--step", "-2"},
         [](Options& o) { o.settings.request.step = std::u16string(u"-2"); }},
        {"option-like step is a value",
         {"--step", "--bold"},
         [](Options& o) { o.settings.request.step = std::u16string(u"--bold"); }},
        {"styles",
         {"--bold", "--italic", "--underline", "--strike"},
         [](Options& o) {
             o.settings.request.styles.bold = o.settings.request.styles.italic = o.settings.request.styles.underline =
                 o.settings.request.styles.strikethrough = true;
         }},
        {"empty size and font",
         {"--size", "", "--font="},
         [](Options& o) { o.settings.request.styles.size = o.settings.request.styles.font = u""; }},
        {"chinese font",
         {"--font", "黑体", "--size=7"},
         [](Options& o) { o.settings.request.styles = {false, false, false, false, u"7", u"黑体"}; }},
        {"file", {"in.txt"}, [](Options& o) { o.file = "in.txt"; }},
        {"dash is standard input", {"-"}, [](Options&) {}},
        {"file after --", {"--", "--bold"}, [](Options& o) { o.file = "--bold"; }},
        {"options around file",
         {"--bold", "in.txt", "--italic"},
         [](Options& o) {
             o.file = "in.txt", o.settings.request.styles.bold = o.settings.request.styles.italic = true;
         }},
        {"help", {"--help"}, [](Options& o) { o.help = true; }},
        {"short help", {"-h"}, [](Options& o) { o.help = true; }},
        {"version", {"--version"}, [](Options& o) { o.version = true; }},
        {"colors spelled the American way",
         {"--colors", "red,blue"},
         [](Options& o) {
             o.settings.request.gradient.stops = {{255, 0, 0}, {0, 0, 255}};
         }},
        {"a prefix of colours and colors alike",
         {"--col=red,blue"},
         [](Options& o) {
             o.settings.request.gradient.stops = {{255, 0, 0}, {0, 0, 255}};
         }},
        {"abbreviations of long options",
         {"--star", "FF0000", "--dia=html", "--bo", "--mer", "--h"},
         [](Options& o) {
             o.settings.request.gradient.stops.front() = {255, 0, 0};
             UseFormat(o, "html");
             o.settings.request.styles.bold = o.settings.request.merge = o.help = true;
         }},
        {"format, and dialect its other name",
         {"--format", "html", "--dia=ubb", "--form=qq"},
         [](Options& o) { UseFormat(o, "qq"); }},
        {"a template text before the format still edits its template",
         {"--open", "<x ", "--format", "html"},
         [](Options& o) { UseFormat(o, "html"), o.settings.request.tags.Open = u"<x "; }},
        {"the terminal's escapes are no template",
         {"--format", "ansi", "--close=x"},
         [](Options& o) { UseFormat(o, "ansi"); }},
        {"a blend before a palette still overrides it",
         {"--blend", "lab", "--palette", "rainbow"},
         [](Options& o) {
             ApplyPalette("rainbow", o.settings.request.gradient);
             o.settings.request.gradient.blend = {Space::Lab};
         }},
        {"a place brings its format, by its older name too",
         {"--max-tags", "7", "--forum", "phpbb"},
         [](Options& o) {
             o.settings.maxTags = 7, o.settings.request.destination = FindDestination("phpbb");
             o.settings.request.background = Rgb{255, 255, 255}; // the place's
             UseFormat(o, "phpbb");
         }},
        {"a full name that is a prefix of another",
         {"--strike"},
         [](Options& o) { o.settings.request.styles.strikethrough = true; }},
    };
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = Parse(c.args);
        ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<UsageError>(parsed).message;
        Options expected;
        c.expect(expected);
        ExpectSameOptions(std::get<Options>(parsed), expected);
    }
}

struct RejectedCase {
    const char* name;
    std::vector<std::string_view> args;
    std::string_view messagePart;
};

TEST(ParseOptions, RejectsBadUsage) {
    const std::vector<RejectedCase> cases{
        {"unknown long option", {"--shade", "x"}, "unknown option '--shade'"},
        {"unknown short option", {"-b"}, "unknown option '-b'"},
        {"unknown short option after -h", {"-hx"}, "unknown option '-x'"},
        {"ambiguous abbreviation", {"--st", "1"}, "option '--st' is ambiguous: --start, --step, --strike, --stats"},
        {"abbreviation of two names", {"--sta=1"}, "option '--sta' is ambiguous: --start, --stats"},
        {"abbreviated flag with a value", {"--bo=1"}, "--bold takes no argument"},
        {"abbreviation missing its argument", {"--fon"}, "--font needs an argument"},
        {"missing argument", {"--step"}, "--step needs an argument"},
        {"missing argument after others", {"--bold", "--font"}, "--font needs an argument"},
        {"flag with a value", {"--bold=1"}, "--bold takes no argument"},
        {"non-hex digits", {"--start", "GG0000"}, "not a colour"},
        {"five digits", {"--end", "12345"}, "not a colour"},
        {"seven digits after hash", {"--start", "#1234567"}, "not a colour"},
        {"empty colour", {"--start="}, "not a colour"},
        {"two hashes", {"--end", "##123456"}, "not a colour"},
        {"unknown name quoted", {"--start", "blurple"}, "--start: 'blurple' is not a colour"},
        {"three digits without hash", {"--end", "f0a"}, "'f0a' is not a colour"},
        {"one colour in the list", {"--colours", "red"}, "needs at least two colours"},
        {"empty list entry", {"--colours", "red,,blue"}, "--colours: '' is not a colour"},
        {"bad list entry", {"--colours=red,nope"}, "'nope' is not a colour"},
        {"unknown blend", {"--blend", "cmyk"}, "unknown blend 'cmyk'"},
        {"hue method on a space without hue", {"--blend", "srgb longer hue"}, "unknown blend"},
        {"position without a colour", {"--colours", "red, 30%"}, "'30%' is not a colour"},
        {"position not in percent", {"--colours", "red 3px, blue"}, "'red 3px' is not a colour"},
        {"unknown palette", {"--palette", "neon"}, "unknown palette 'neon'"},
        {"negative fit", {"--fit", "-5"}, "--fit: '-5' is not a number"},
        {"fit with a unit", {"--fit", "10k"}, "'10k' is not a number"},
        {"empty fit", {"--fit="}, "is not a number"},
        {"fit beyond 64 bits", {"--fit", "99999999999999999999999"}, "is not a number"},
        {"merge with a value", {"--merge=yes"}, "--merge takes no argument"},
        {"help with a value", {"--help=x"}, "--help takes no argument"},
        {"unknown format", {"--format", "bb-code"}, "--format: unknown format 'bb-code'"},
        {"format is case-sensitive, by its other name", {"--dialect", "HTML"}, "--dialect: unknown format"},
        {"format beside forum and font", {"--for", "x"}, "ambiguous: --format, --forum"},
        {"unknown place", {"--to", "vb"}, "unknown destination 'vb'"},
        {"an APCA goal past black on white", {"--readable=apca-107"}, "--readable: unknown goal 'apca-107'"},
        {"a background that is no colour", {"--background", "paper"}, "--background: 'paper' is not a colour"},
        {"two files", {"a.txt", "b.txt"}, "more than one FILE"},
        {"second file after --", {"a.txt", "--", "b.txt"}, "more than one FILE"},
        {"text not UTF-8", {"--font", "\xC0\xAF"}, "--font: argument is not valid UTF-8"},
        {"colour with an escape sequence quoted", {"--start", "\x1b]0;PWNED\a"}, "''$'\\033'']0;PWNED'$'\\a' is"},
        {"option name with a control quoted", {"--x\x1b[2J"}, "unknown option '--x'$'\\033''[2J'"},
        {"format with a C1 control quoted", {"--dialect", "\xC2\x9B"}, "unknown format ''$'\\302\\233'"},
    };
    for (const RejectedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = Parse(c.args);
        ASSERT_TRUE(std::holds_alternative<UsageError>(parsed));
        EXPECT_NE(std::get<UsageError>(parsed).message.find(c.messagePart), std::string::npos)
            << std::get<UsageError>(parsed).message;
    }
}

// Each row is what GNU ls prints for the same name in a UTF-8 locale, except the
// bidi controls, which it lets through.
TEST(ShellQuote, QuotesAsGnuToolsDo) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"plain.txt", "'plain.txt'"},
        {"", "''"},
        {"a b", "'a b'"},
        {"\x1b]0;PWNED\a.txt", "''$'\\033'']0;PWNED'$'\\a''.txt'"},
        {"x\xff\xfey", "'x'$'\\377\\376''y'"},
        {"\x7f\xc2\x9bz", "''$'\\177\\302\\233''z'"},
        {"\t", "''$'\\t'"},
        {"a'b\n", "'a'\\''b'$'\\n'"},
        {"\xE2\x80\xAE"
         "ab",
         "''$'\\342\\200\\256''ab'"},
        {"宋体é😀", "'宋体é😀'"},
        {"\xED\xA0\x80", "''$'\\355\\240\\200'"},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(ShellQuote(text), quoted) << text;
}

} // namespace
} // namespace velmorant::cli
