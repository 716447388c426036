// Runs the built binary through the shell and checks its exact bytes and exit status.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(std::string_view arg) {
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Slurp(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << stream.rdbuf();
    return bytes.str();
}

void Spill(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("velmorant-cli-e2e-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The shell reports the status through a file so the test needs nothing beyond std::system.
    Result Run(std::vector<std::string> args, std::optional<std::string_view> stdinBytes,
               std::optional<std::string_view> fileBytes) {
        if (fileBytes) {
            Spill(dir_ / "input.txt", *fileBytes);
            args.push_back((dir_ / "input.txt").string());
        }
        std::string command = Quote(VELMORANT_CLI);
        for (const std::string& arg : args)
            command.append(" ").append(Quote(arg));
        Spill(dir_ / "stdin", stdinBytes.value_or(""));
        const std::pair<const char*, const char*> redirections[]{
            {" <", "stdin"}, {" >", "out"}, {" 2>", "err"}, {"; echo $? >", "status"}};
        for (const auto& [operation, file] : redirections)
            command.append(operation).append(Quote((dir_ / file).string()));
        Result result;
        if (std::system(command.c_str()) != 0)
            return result;
        result.status = std::stoi(Slurp(dir_ / "status"));
        result.out = Slurp(dir_ / "out");
        result.err = Slurp(dir_ / "err");
        return result;
    }

    fs::path dir_;
};

const std::string kAbcRedToBlue = "[color=#AA0055]a[/color][color=#5500AA]b[/color][color=#0000FF]c[/color]";

struct ConvertCase {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::string expected;
};

TEST_F(EndToEnd, ConvertsFromFileAndFromStandardInputAlike) {
    const std::vector<std::string> redToBlue{"--start", "FF0000", "--end", "#0000ff"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = redToBlue;
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const std::vector<ConvertCase> cases{
        {"no styles", with({"--size", "", "--font", ""}), "abc", kAbcRedToBlue},
        {"start-up size and font", with({}), "abc", "[font=宋体][size=1]" + kAbcRedToBlue + "[/size][/font]"},
        {"start-up colours", {"--size=", "--font="}, "x", "[color=#00FF00]x[/color]"},
        {"blanks trimmed, byte-order mark dropped", with({"--size=", "--font="}), "\xEF\xBB\xBF  abc  ", kAbcRedToBlue},
        {"line break passes through untouched", with({"--size=", "--font="}), "ab\r\ncd",
         "[color=#D4002A]a[/color][color=#AA0055]b[/color]\r\n[color=#2A00D4]c[/color][color=#0000FF]d[/color]"},
        {"step 3 keeps CR LF in one unit", with({"--dialect", "bbcode", "--step=3", "--size=", "--font="}), "ab\r\ncd",
         "[color=#d4002a]ab\r\n[/color][color=#5500aa]cd[/color]"},
        {"step 2", with({"--step=2", "--size=", "--font="}), "abcdef",
         "[color=#D4002A]ab[/color][color=#800080]cd[/color][color=#2A00D4]ef[/color]"},
        {"negative step falls back to 1", with({"--step", "-2", "--size=", "--font="}), "abc", kAbcRedToBlue},
        {"html dialect", with({"--dialect", "html", "--size=", "--font="}), "abc",
         "<font color=AA0055>a</font><font color=5500AA>b</font><font color=0000FF>c</font>"},
        {"qq dialect keeps bracket styles", with({"--dialect=qq", "--bold", "--size=", "--font="}), "a",
         "[B][ftc=0000FF]a[/ft][/B]"},
        {"replacement applies over a later dialect", with({"--open", "{", "--dialect", "ubb", "--size=", "--font="}),
         "a", "{0000FF]a[/color]"},
        {"empty template", with({"--open=", "--middle=", "--close=", "--size=", "--font="}), "abc",
         "AA0055a5500AAb0000FFc"},
        {"all styles", with({"--bold", "--italic", "--underline", "--strike", "--size", "7", "--font", "Arial"}), "a",
         "[font=Arial][size=7][strike][u][i][B][color=#0000FF]a[/color][/B][/i][/u][/strike][/size][/font]"},
        {"chinese and a pair outside the BMP", with({"--size=", "--font="}), "你好😀",
         "[color=#BF0040]你[/color][color=#800080]好[/color][color=#4000BF]😀[/color]"},
        {"font holding U+FFFF",
         {"--font", "\xEF\xBF\xBF", "--size=", "--italic"},
         "x",
         "[font=\xEF\xBF\xBF][i][color=#00FF00]x[/color][/i][/font]"},
        {"empty input still wrapped", {}, "", "[font=宋体][size=1][/size][/font]"},
        {"colours by name and #RGB", {"--start", "Red", "--end", "#00f", "--size=", "--font="}, "abc", kAbcRedToBlue},
        {"two colours are --start and --end",
         {"--colours", "FF0000,0000FF", "--size=", "--font="},
         "abc",
         kAbcRedToBlue},
        {"two colours blended in sRGB",
         {"--colours=red,blue", "--blend=srgb", "--size=", "--font="},
         "abc",
         kAbcRedToBlue},
        {"three stops, the second reached exactly",
         {"--colours", "red,lime,blue", "--size=", "--font="},
         "abcd",
         "[color=#808000]a[/color][color=#00FF00]b[/color][color=#008080]c[/color][color=#0000FF]d[/color]"},
        {"three stops, step 2",
         {"--colours", "red,lime,blue", "--step=2", "--size=", "--font="},
         "abcd",
         "[color=#808000]ab[/color][color=#008080]cd[/color]"},
        {"oklab keeps the middle light",
         {"--blend", "oklab", "--size=", "--font="},
         "Hi there",
         "[color=#F45BEE]H[/color][color=#E780DC]i[/color] [color=#C6B4B4]t[/color][color=#B0C99D]h[/color]"
         "[color=#95DC81]e[/color][color=#6DEE5C]r[/color][color=#00FF00]e[/color]"},
        {"merge joins one colour",
         {"--merge", "--start=000000", "--end=000002", "--size=", "--font="},
         "abcdef",
         "[color=#000000]a[/color][color=#000001]bcd[/color][color=#000002]ef[/color]"},
        {"merge stops at a raw unit",
         {"--merge", "--step=2", "--start=red", "--end=red", "--size=", "--font="},
         "aaaa  bb",
         "[color=#FF0000]aaaa[/color]  [color=#FF0000]bb[/color]"},
        {"merge changes nothing when every colour differs",
         {"--merge", "--start", "red", "--end", "blue", "--size=", "--font="},
         "abc",
         kAbcRedToBlue},
        {"merge inside the style tags",
         {"--merge", "--bold", "--start=red", "--end=red", "--size=", "--font="},
         "ab",
         "[B][color=#FF0000]ab[/color][/B]"},
        {"ansi: escapes, no style tags",
         {"--dialect", "ansi", "--start=red", "--end=blue"},
         "a b",
         "\x1b[38;2;170;0;85ma\x1b[0m \x1b[38;2;0;0;255mb\x1b[0m"},
        {"ansi merged", {"--dialect=ansi", "--merge", "--start=red", "--end=red"}, "ab", "\x1b[38;2;255;0;0mab\x1b[0m"},
    };
    for (const ConvertCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Result fromStdin = Run(c.args, c.input, std::nullopt);
        EXPECT_EQ(fromStdin.status, 0) << fromStdin.err;
        EXPECT_EQ(fromStdin.out, c.expected);
        EXPECT_EQ(fromStdin.err, "");
        const Result fromFile = Run(c.args, std::nullopt, c.input);
        EXPECT_EQ(fromFile.status, 0) << fromFile.err;
        EXPECT_EQ(fromFile.out, c.expected);
    }
}

// The text a terminal shows: the colour escapes the CLI writes taken out. Nothing
// when any other escape is left, as the terminal would act on it.
std::optional<std::string> TerminalText(std::string_view out) {
    std::string shown;
    for (std::size_t i = 0; i < out.size();) {
        if (out[i] != '\x1b') {
            shown += out[i++];
            continue;
        }
        const std::size_t end = out.find('m', i);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view escape = out.substr(i, end + 1 - i);
        const bool colour = escape.starts_with("\x1b[38;2;") &&
                            escape.substr(7, escape.size() - 8).find_first_not_of("0123456789;") == std::string::npos;
        if (!colour && escape != "\x1b[0m")
            return std::nullopt;
        i = end + 1;
    }
    return shown;
}

struct TerminalCase {
    const char* name;
    std::string input;
    std::string shown; // the text as the terminal shows it
};

// --dialect ansi: controls in the input come out as pictures at every step, merged
// or not, so the input can neither drive the terminal nor hide from the reader.
TEST_F(EndToEnd, AnsiShowsTheInputsControlsAndObeysNone) {
    const std::string nul(1, '\0');
    const std::vector<TerminalCase> cases{
        {"OSC 52 sets no clipboard", "Hello\x1b]52;c;cm0gLXJmIH4K\x07 world, a long enough line",
         "Hello\u241b]52;c;cm0gLXJmIH4K\u2407 world, a long enough line"},
        {"OSC 0 sets no title", "\x1b]0;PWNED\x07x", "\u241b]0;PWNED\u2407x"},
        {"CSI 2J clears nothing", "keep\x1b[2J\x1b[Hme", "keep\u241b[2J\u241b[Hme"},
        {"BEL, BS, NUL, DEL",
         "a\x07"
         "b\x08"
         "c" +
             nul +
             "d\x7f"
             "e",
         "a\u2407b\u2408c\u2400d\u2421e"},
        {"C1 CSI and NEL",
         "a\xC2\x9B"
         "31mb\xC2\x85"
         "c",
         "a\uFFFD31mb\uFFFDc"},
        {"bidi override, isolate and marks", "a\u202Eb\u2066c\u2069d\u200Fe\u061Cf",
         "a\uFFFDb\uFFFDc\uFFFDd\uFFFDe\uFFFDf"},
        {"a lone CR is shown, CR LF, LF and tab stay", "a\rb\r\nc\nd\te\r", "a\u240Db\r\nc\nd\te\u240D"},
    };
    const std::vector<std::vector<std::string>> forms{
        {"--dialect=ansi"},
        {"--dialect=ansi", "--step=30"},
        {"--dialect=ansi", "--merge", "--start=red", "--end=red"},
        {"--dialect=ansi", "--merge", "--start=red", "--end=red", "--step=30"},
    };
    for (const TerminalCase& c : cases) {
        for (const std::vector<std::string>& form : forms) {
            SCOPED_TRACE(std::string(c.name) + " with " + form.back());
            const Result result = Run(form, c.input, std::nullopt);
            EXPECT_EQ(result.status, 0) << result.err;
            EXPECT_EQ(TerminalText(result.out), c.shown) << result.out;
        }
    }
    // The forum dialects keep every character as it is.
    const Result forum = Run({"--merge", "--start=red", "--end=red", "--size=", "--font="}, "a\x1b[2J\xC2\x9B", {});
    EXPECT_EQ(forum.out, "[color=#FF0000]a\x1b[2J\xC2\x9B[/color]");
}

struct FailureCase {
    const char* name;
    std::vector<std::string> args;
    std::optional<std::string> file;
    int status;
    std::string errPart;
};

TEST_F(EndToEnd, FailsWithStatusAndMessageButNoOutput) {
    const std::vector<FailureCase> cases{
        {"overlong form", {}, "ab\xC0\x80", 1, "offset 2"},
        {"encoded surrogate after a mark",
         {},
         "\xEF\xBB\xBF"
         "a\xED\xA0\x80",
         1,
         "offset 4"},
        {"truncated at the end", {}, "abc\xE5\xAE", 1, "offset 3"},
        {"missing file",
         {"/nonexistent/velmorant.txt"},
         std::nullopt,
         1,
         "cannot read '/nonexistent/velmorant.txt': No such file"},
        {"directory", {"/"}, std::nullopt, 1, "cannot read '/': Is a directory"},
        {"file name with escapes quoted",
         {"\x1b]0;PWNED\a.txt"},
         std::nullopt,
         1,
         "velmorant-cli: cannot read ''$'\\033'']0;PWNED'$'\\a''.txt': No such file"},
        {"unknown option",
         {"--shade"},
         "abc",
         2,
         "velmorant-cli: unknown option '--shade'\nTry 'velmorant-cli --help' for more information.\n"},
        {"missing option argument", {"--start"}, std::nullopt, 2, "--start needs an argument"},
        {"malformed colour", {"--end", "GG0000"}, "abc", 2, "--end: 'GG0000' is not a colour"},
        {"unknown format", {"--dialect", "bb"}, "abc", 2, "unknown format"},
        {"two files", {"other.txt"}, "abc", 2, "more than one FILE"},
        {"more tags than allowed, no fit", {"--max-tags", "2"}, "abc", 3, "the code has 3 tags, more than 2"},
        {"no step within a tag count", {"--fit", "1000", "--max-tags", "0"}, "abc", 3, "and 0 tags"},
        {"bad colour named", {"--start", "blurple"}, "abc", 2, "--start: 'blurple' is not a colour"},
        {"usage error in one line and a hint",
         {"--blend", "cmyk"},
         "abc",
         2,
         "velmorant-cli: --blend: unknown blend 'cmyk' (such as srgb, oklab or 'oklch longer hue')\nTry 'velmorant-cli "
         "--help' for more "
         "information.\n"},
        {"one colour is no gradient", {"--colours", "red"}, "abc", 2, "needs at least two colours"},
        {"fit is not a number", {"--fit", "many"}, "abc", 2, "--fit: 'many' is not a number"},
        {"fit and step together", {"--fit", "100", "--step", "2"}, "abc", 2, "give --fit or --step, not both"},
        {"no step fits",
         {"--fit", "20"},
         "Hello, world",
         3,
         "velmorant-cli: no step fits in 20 characters: the shortest code is 89 characters, at step 6\n"},
        {"style tags alone exceed the limit", {"--fit=0"}, "", 3, "the shortest code is 31 characters, at step 1"},
        {"a code two formats read differently",
         {"--decode"},
         "[color=#000000][[b][/b][/color]",
         2,
         "reads one way as --format default and another as --format bbcode: --format picks"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Result result = Run(c.args, "abc", c.file);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.errPart), std::string::npos) << result.err;
    }
}

struct ReportCase {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::string out;
    std::string err;
};

// --fit, --stats and the terminal's notes speak on standard error; the code still goes out whole.
TEST_F(EndToEnd, ReportsOnStandardErrorBesideTheCode) {
    const std::vector<ReportCase> cases{
        {"stats",
         {"--stats", "--start=red", "--end=blue", "--size=", "--font="},
         "abc",
         kAbcRedToBlue,
         "velmorant-cli: 3 characters in, 72 characters out (72 UTF-16 units), 3 tags, step 1\n"},
        {"stats count a pair as one character",
         {"--stats", "--start=red", "--end=blue", "--step=2", "--size=", "--font="},
         "你好😀",
         "[color=#BF0040]你好[/color][color=#4000BF]😀[/color]",
         "velmorant-cli: 3 characters in, 49 characters out (50 UTF-16 units), 2 tags, step 2\n"},
        {"stats include style tags and merged runs",
         {"--stats", "--merge", "--bold", "--start=red", "--end=red", "--size=", "--font="},
         "a b",
         "[B][color=#FF0000]a[/color] [color=#FF0000]b[/color][/B]",
         "velmorant-cli: 3 characters in, 56 characters out (56 UTF-16 units), 2 tags, step 1\n"},
        {"fit chooses the smallest step",
         {"--fit", "200"},
         "Hello, world",
         "[font=宋体][size=1][color=#EA15EA]He[/color][color=#BF40BF]ll[/color][color=#956A95]o,[/color]"
         "[color=#6A956A] w[/color][color=#40BF40]or[/color][color=#15EA15]ld[/color][/size][/font]",
         "velmorant-cli: step 2 fits: 181 characters\n"},
        {"fit exactly at the limit", {"--fit", "181"}, "Hello, world", "", "step 2 fits: 181 characters"},
        {"fit one below needs step 3", {"--fit", "180"}, "Hello, world", "", "step 3 fits"},
        {"fit with merge",
         {"--fit", "60", "--merge", "--start=red", "--end=red", "--size=", "--font="},
         "abcd",
         "[color=#FF0000]abcd[/color]",
         "velmorant-cli: step 1 fits: 27 characters\n"},
        {"fit within a tag count",
         {"--fit", "1000", "--max-tags", "3"},
         "Hello, world",
         "",
         "velmorant-cli: step 4 fits: 112 characters, 3 tags\n"},
        {"phpBB's limits hold 3,000 characters",
         {"--forum", "phpbb"},
         std::string(3000, 'x'),
         "",
         "velmorant-cli: step 2 fits: 37531 characters, 1500 tags\n"},
        {"Discuz! counts CJK in bytes, 3 each",
         {"--to", "discuz", "--size=", "--font=", "--fit", "10000"},
         [] {
             std::string text;
             for (int i = 0; i < 416; ++i)
                 text += "渐";
             return text;
         }(),
         "",
         "step 2 fits: 6032 UTF-8 bytes"},
        {"a signature within 注册会员's width",
         {"--to", "discuz-signature", "--start=red", "--end=blue"},
         "渐变色签名字",
         "",
         "step 3 fits: 91 half-width characters"},
        {"SMF keeps a blank line between units",
         {"--to", "smf", "--step", "2", "--size=", "--font=", "--start=red", "--end=red"},
         "ab\n\ncd",
         "[color=#ff0000]ab[/color]\n\n[color=#ff0000]cd[/color]",
         ""},
        {"a GBK page says what it cannot show",
         {"--to", "discuz-gbk", "--size=", "--font="},
         "a😀",
         "",
         "Discuz! (GBK) cannot show U+1F600 😀: written as typed, it shows as \"&#128512;\""},
        {"NGA's nearest names, and how near",
         {"--to", "nga", "--stats", "--start=blue", "--end=blue", "--size=", "--font="},
         "ab",
         "[color=blue]ab[/color]",
         "largest Oklab ΔE 0.0000 from the gradient"},
        {"decode gives the text and the options that write it again",
         {"--decode"},
         "[color=#ff0000]a[[b][/b][/color] [color=#0000ff]b[/color]",
         "a[ b",
         "--colours '#ff0000 25%, #ff0000 50%, #0000ff 100%' --merge\n"},
        {"lower-case codes are bbcode's, not the window's",
         {"--decode"},
         "[color=#ff0000]H[/color][color=#0000ff]i[/color]",
         "Hi",
         "read as --format bbcode"},
        {"a span code holding typed tags reads as span",
         {"--decode"},
         "<span style=\"color:#ff0000\">[b][b][b][b][b]</span>",
         "[b][b][b][b][b]",
         "read as --format span\n"},
        {"two formats reading a code alike are both named",
         {"--decode"},
         "[color=#000000]ab[/color]",
         "ab",
         "read as --format default (--format bbcode reads it alike)\n"},
        {"a code no format explains says so",
         {"--decode"},
         "[color=#ff0000]a[/color]b",
         "ab",
         "no format explains all of it"},
        {"ansi notes the style options it drops",
         {"--dialect", "ansi", "--bold", "--font", "Arial"},
         "x",
         "\x1b[38;2;0;255;0mx\x1b[0m",
         "velmorant-cli: --format ansi writes no tags: --bold ignored\n"
         "velmorant-cli: --format ansi writes no tags: --font ignored\n"},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Result result = Run(c.args, c.input, std::nullopt);
        EXPECT_EQ(result.status, 0) << result.err;
        if (!c.out.empty()) {
            EXPECT_EQ(result.out, c.out);
        }
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
}

TEST_F(EndToEnd, HelpAndVersionGoToStandardOutput) {
    const Result withBadOption = Run({"--help", "--bogus"}, std::nullopt, std::nullopt);
    EXPECT_EQ(withBadOption.status, 2);
    EXPECT_EQ(withBadOption.out, "");
    const Result usage = Run({"--help"}, std::nullopt, std::nullopt);
    EXPECT_EQ(usage.status, 0);
    EXPECT_EQ(usage.out.rfind("Usage: velmorant-cli", 0), 0u);
    EXPECT_EQ(Run({"-h"}, std::nullopt, std::nullopt).out, usage.out);
    const Result version = Run({"--version"}, std::nullopt, std::nullopt);
    EXPECT_EQ(version.status, 0);
    // The GNU layout, line by line: name and version, copyright, licence, free software, no warranty.
    const std::vector<std::string_view> starts{"velmorant-cli (Velmorant) ", "Copyright (C) ", "License ",
                                               "This is free software", "There is NO WARRANTY"};
    std::size_t from = 0;
    for (const std::string_view start : starts) {
        EXPECT_EQ(version.out.compare(from, start.size(), start), 0) << version.out;
        from = version.out.find('\n', from) + 1;
    }
    EXPECT_EQ(from, version.out.size()) << version.out;
    EXPECT_TRUE(usage.out.ends_with("\nReport bugs to: <developers@velmorant.org>\n")) << usage.out;
}

} // namespace
