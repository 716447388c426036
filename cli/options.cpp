#include "cli/options.h"

#include "cli/shell_quote.h"
#include "core/colour/colour_text.h"
#include "core/colour/css_colour.h"
#include "core/colour/mixing.h"
#include "core/colour/palettes.h"
#include "core/colour/spaces.h"
#include "core/conversion/choices.h"
#include "core/conversion/description.h"
#include "core/conversion/forum_limits.h"
#include "core/text/utf8.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace velmorant::cli {

namespace {

// The defaults are filled in from the start-up request, the one home of them.
constexpr std::string_view kUsageTemplate = R"(Usage: velmorant-cli [OPTION]... [FILE]
Write gradient-coloured forum code for FILE (standard input without one, or "-").

Colours (RRGGBB, #RGB, a name such as orange, or any CSS colour, e.g. oklch()):
  --start COLOUR       start colour (default {start})
  --end COLOUR         end colour (default {end})
  --colours C1,C2,...  two or more colours, each any CSS colour with an optional
                       position: 'red, blue 30%, lime' (or --colors)
  --blend MODE         how colours mix (default srgb, as the window); see below
  --palette NAME       a named gradient with its blend; see below

Code:
  --dialect NAME       the format written or read (default "{format}"):
{formats}  --open TEXT          text before each colour code
  --middle TEXT        text between colour code and characters
  --close TEXT         text after the characters
  --step TEXT          characters per colour (default {step})
  --merge              one tag for neighbouring characters of one colour
  --fit LIMIT          smallest step whose code is at most LIMIT characters
  --max-tags N         at most N colour tags: with --fit, the step fits both
  --forum ENGINE       a forum's defaults as --fit and --max-tags: {forums}

Styles around the code:
  --bold, --italic, --underline, --strike
  --size TEXT          size tag text, none when empty (default {size})
  --font TEXT          font tag text, none when empty (default {font})

Other:
  --decode             read a code back: its text to standard output, its
                       colours to standard error; without --dialect, the
                       format is detected
  --list WHAT          one name a line: formats, blends, palettes, sizes, fonts,
                       forums; or the whole description as JSON
  --stats              counts to standard error after the code
  -h, --help           show this help and exit
  --version            show the version and exit

Blends, as CSS's color-mix() writes them (such as 'oklch longer hue'):
{blends}

Palettes:
{palettes}
An option's argument is the next argument, or follows "=". "--" ends the options.
A long option may be shortened to any prefix that names it alone.
Exit status: 0 done, 1 unreadable input or output, 2 bad usage, 3 nothing fits.

Report bugs to: <developers@velmorant.org>
)";

std::string FormatLines() {
    std::string lines;
    for (const Format& format : Formats()) {
        std::string line = "    " + std::string(format.name);
        line.resize(std::max<std::size_t>(line.size() + 2, 23), ' ');
        lines += line + std::string(format.summary) + "\n";
    }
    return lines;
}

template <class Rows> std::string Names(const Rows& rows, std::string_view last) {
    std::string names;
    for (std::size_t i = 0; i < std::size(rows); ++i)
        names += (i == 0                     ? ""
                  : i + 1 == std::size(rows) ? std::string(last)
                                             : std::string(", ")) +
                 std::string(rows[i].name);
    return names;
}

} // namespace

std::optional<std::string> ListText(std::string_view what) {
    std::string lines;
    if (what == "formats")
        for (const Format& f : Formats())
            lines += std::string(f.name) + "\n";
    else if (what == "blends")
        for (const std::string_view name : BlendNames())
            lines += std::string(name) + "\n";
    else if (what == "palettes")
        for (const Palette& p : Palettes())
            lines += std::string(p.name) + "\n";
    else if (what == "sizes")
        for (const std::u16string_view size : SizeChoices())
            lines += EncodeUtf8(size) + "\n";
    else if (what == "fonts")
        for (const std::u16string_view font : FontChoices())
            lines += EncodeUtf8(font) + "\n";
    else if (what == "description")
        lines = DescriptionJson() + "\n";
    else if (what == "forums")
        for (const ForumLimits& forum : Forums())
            lines += std::string(forum.name) + "\n";
    else
        return std::nullopt;
    return lines;
}

std::string Usage() {
    const ConversionRequest startup = ConversionRequest::Startup();
    const std::pair<std::string_view, std::u16string> values[] = {
        {"{start}", ColourCode(startup.gradient.stops.front())},
        {"{end}", ColourCode(startup.gradient.stops.back())},
        {"{format}", DecodeUtf8(startup.format->name).text},
        {"{formats}", DecodeUtf8(FormatLines()).text},
        {"{forums}", DecodeUtf8(Names(Forums(), " or ")).text},
        {"{step}", startup.step},
        {"{size}", startup.styles.size},
        {"{font}", startup.styles.font},
    };
    // Both lists come from the one table each, as the completion reads them here.
    const auto wrap = [](const std::vector<std::string_view>& items) {
        std::string text = "  ";
        std::size_t line = 2;
        for (const std::string_view item : items) {
            const bool last = item == items.back();
            if (line + item.size() + 1 > 79) {
                text.back() = '\n';
                text += "  ";
                line = 2;
            }
            text.append(item).append(last ? "" : ", ");
            line += item.size() + 2;
        }
        return text;
    };
    std::string blends = wrap(BlendNames());
    blends += "\n  hsl, hwb, lch and oklch also as 'SPACE METHOD hue', METHOD one of\n";
    blends += wrap(HueMethodNames());
    std::string palettes;
    for (const Palette& palette : Palettes()) {
        palettes.append("  ").append(palette.name).append(std::string(10 - palette.name.size(), ' '));
        palettes.append(palette.description).append("\n");
    }
    const std::pair<std::string_view, std::string> lists[] = {{"{blends}", blends}, {"{palettes}", palettes}};
    std::string usage(kUsageTemplate);
    for (const auto& [name, value] : lists)
        usage.replace(usage.find(name), name.size(), value);
    for (const auto& [name, value] : values)
        usage.replace(usage.find(name), name.size(), EncodeUtf8(value));
    return usage;
}

namespace {

using Error = std::optional<std::string>;

std::string Dashed(std::string_view name) { return "--" + std::string(name); }

Error ReadText(std::string_view name, std::string_view value, std::u16string& into) {
    Utf8Decoded decoded = DecodeUtf8(value);
    if (decoded.badByte)
        return Dashed(name) + ": argument is not valid UTF-8";
    into = std::move(decoded.text);
    return std::nullopt;
}

Error ReadOptionalText(std::string_view name, std::string_view value, std::optional<std::u16string>& into) {
    std::u16string text;
    Error error = ReadText(name, value, text);
    if (!error)
        into = std::move(text);
    return error;
}

Error ReadColour(std::string_view name, std::string_view value, Rgb& into) {
    const std::optional<Rgb> colour = ReadColourText(value);
    if (!colour)
        return Dashed(name) + ": " + ShellQuote(value) + " is not a colour (RRGGBB, #RGB or a CSS name)";
    into = *colour;
    return std::nullopt;
}

Error ReadColourList(std::string_view name, std::string_view value, Gradient& into) {
    Gradient read = into;
    std::string_view bad;
    if (ReadStops(value, read, bad)) {
        into = std::move(read);
        return std::nullopt;
    }
    if (bad.data() == nullptr)
        return Dashed(name) + ": needs at least two colours, separated by commas";
    return Dashed(name) + ": " + ShellQuote(bad) + " is not a colour with an optional position (such as 'blue 30%')";
}

// --start and --end change one end of the window's two stops.
Error ReadEnd(std::string_view name, std::string_view value, Gradient& into, bool start) {
    Rgb& stop = start ? into.stops.front() : into.stops.back();
    if (Error error = ReadColour(name, value, stop))
        return error;
    if (!into.exact.empty())
        (start ? into.exact.front() : into.exact.back()) = FromRgb(stop);
    return std::nullopt;
}

Error ReadCount(std::string_view name, std::string_view value, std::string_view what,
                std::optional<std::uint64_t>& into) {
    std::uint64_t count = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    if (value.empty() || error != std::errc{} || end != value.data() + value.size())
        return Dashed(name) + ": " + ShellQuote(value) + " is not a number of " + std::string(what);
    into = count;
    return std::nullopt;
}

Error Set(bool& flag) {
    flag = true;
    return std::nullopt;
}

struct OptionRule {
    std::string_view name;
    bool takesValue;
    Error (*apply)(Options&, std::string_view name, std::string_view value);
};

const std::array kOptions{
    OptionRule{"start", true, [](Options& o, auto n, auto v) { return ReadEnd(n, v, o.gradient, true); }},
    OptionRule{"end", true, [](Options& o, auto n, auto v) { return ReadEnd(n, v, o.gradient, false); }},
    OptionRule{"colours", true, [](Options& o, auto n, auto v) { return ReadColourList(n, v, o.gradient); }},
    OptionRule{"blend", true,
               [](Options& o, auto n, auto v) -> Error {
                   const std::optional<Blend> blend = ReadBlend(v);
                   if (!blend)
                       return Dashed(n) + ": unknown blend " + ShellQuote(v) +
                              " (such as srgb, oklab or 'oklch longer hue')";
                   o.gradient.blend = *blend;
                   return std::nullopt;
               }},
    OptionRule{"palette", true,
               [](Options& o, auto n, auto v) -> Error {
                   if (!ApplyPalette(v, o.gradient))
                       return Dashed(n) + ": unknown palette " + ShellQuote(v);
                   return std::nullopt;
               }},
    OptionRule{"dialect", true,
               [](Options& o, auto n, auto v) -> Error {
                   o.format = FindFormat(v);
                   if (!o.format)
                       return Dashed(n) + ": unknown dialect " + ShellQuote(v) + " (see --list=formats)";
                   return std::nullopt;
               }},
    OptionRule{"open", true, [](Options& o, auto n, auto v) { return ReadOptionalText(n, v, o.open); }},
    OptionRule{"middle", true, [](Options& o, auto n, auto v) { return ReadOptionalText(n, v, o.middle); }},
    OptionRule{"close", true, [](Options& o, auto n, auto v) { return ReadOptionalText(n, v, o.close); }},
    OptionRule{"step", true, [](Options& o, auto n, auto v) { return ReadText(n, v, o.step); }},
    OptionRule{"merge", false, [](Options& o, auto, auto) { return Set(o.merge); }},
    OptionRule{"fit", true, [](Options& o, auto n, auto v) { return ReadCount(n, v, "characters", o.fit); }},
    OptionRule{"max-tags", true, [](Options& o, auto n, auto v) { return ReadCount(n, v, "tags", o.maxTags); }},
    OptionRule{"forum", true,
               [](Options& o, auto n, auto v) -> Error {
                   if (const ForumLimits* forum = FindForum(v)) {
                       o.forumLength = forum->length;
                       o.forumTags = forum->tags;
                       return std::nullopt;
                   }
                   return Dashed(n) + ": unknown forum " + ShellQuote(v) + " (" + Names(Forums(), " or ") + ")";
               }},
    OptionRule{"decode", false, [](Options& o, auto, auto) { return Set(o.decode); }},
    OptionRule{"list", true,
               [](Options& o, auto n, auto v) -> Error {
                   if (!ListText(v))
                       return Dashed(n) + ": unknown list " + ShellQuote(v) +
                              " (formats, blends, palettes, sizes, fonts, forums or description)";
                   o.list = std::string(v);
                   return std::nullopt;
               }},
    OptionRule{"size", true, [](Options& o, auto n, auto v) { return ReadText(n, v, o.styles.size); }},
    OptionRule{"font", true, [](Options& o, auto n, auto v) { return ReadText(n, v, o.styles.font); }},
    OptionRule{"bold", false, [](Options& o, auto, auto) { return Set(o.styles.bold); }},
    OptionRule{"italic", false, [](Options& o, auto, auto) { return Set(o.styles.italic); }},
    OptionRule{"underline", false, [](Options& o, auto, auto) { return Set(o.styles.underline); }},
    OptionRule{"strike", false, [](Options& o, auto, auto) { return Set(o.styles.strikethrough); }},
    OptionRule{"stats", false, [](Options& o, auto, auto) { return Set(o.stats); }},
    OptionRule{"help", false, [](Options& o, auto, auto) { return Set(o.help); }},
    OptionRule{"version", false, [](Options& o, auto, auto) { return Set(o.version); }},
};

// Other spellings of an option's name; getopt_long takes a prefix of both as one option.
constexpr std::pair<std::string_view, std::string_view> kAliases[] = {{"colors", "colours"}};

// getopt_long reports a long option by the index of its rule, offset past every character.
constexpr int kLongBase = 0x100;

int LongCode(std::string_view name) {
    const auto rule =
        std::find_if(kOptions.begin(), kOptions.end(), [&](const OptionRule& r) { return r.name == name; });
    return kLongBase + static_cast<int>(rule - kOptions.begin());
}

// The options a prefix that getopt_long did not take could mean, "--a, --b", when more than one.
std::string Candidates(std::string_view prefix) {
    std::string names;
    int count = 0;
    for (const OptionRule& rule : kOptions) {
        if (rule.name.starts_with(prefix)) {
            names += (count++ ? ", " : "") + Dashed(rule.name);
        }
    }
    return count > 1 ? names : std::string();
}

std::string_view OptionName(std::string_view element) {
    element.remove_prefix(2);
    return element.substr(0, element.find('='));
}

} // namespace

ConversionRequest Options::Request() const {
    ConversionRequest request{gradient, format, format->Template(), merge, step, styles};
    if (format->escaping != Escaping::Terminal) {
        if (open)
            request.tags.Open = *open;
        if (middle)
            request.tags.Middle = *middle;
        if (close)
            request.tags.Close = *close;
    }
    return request;
}

// getopt_long (glibc) does the splitting: "--name value", "--name=value", "--",
// options after the file, and a long name shortened to a prefix of one option.
std::variant<Options, UsageError> ParseOptions(std::span<const std::string_view> args) {
    // getopt wants writable C strings with a program name in front.
    std::vector<std::string> storage{"velmorant-cli"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::vector<option> longOptions;
    for (std::size_t i = 0; i < kOptions.size(); ++i)
        longOptions.push_back({kOptions[i].name.data(), kOptions[i].takesValue ? required_argument : no_argument,
                               nullptr, kLongBase + static_cast<int>(i)});
    for (const auto& [alias, name] : kAliases)
        longOptions.push_back({alias.data(), required_argument, nullptr, LongCode(name)});
    longOptions.push_back({nullptr, 0, nullptr, 0});

    Options options;
    std::optional<std::string_view> file;
    auto takeFile = [&](std::string_view arg) -> Error {
        if (file)
            return "more than one FILE given";
        file = arg;
        return std::nullopt;
    };
    // "-": hand over files in place, whatever POSIXLY_CORRECT says; ":": report a missing argument apart.
    constexpr const char* shortOptions = "-:h";
    const int argc = static_cast<int>(storage.size());
    optind = 0; // a full restart, parse after parse
    opterr = 0;
    for (;;) {
        const int element = optind == 0 ? 1 : optind;
        const int code = getopt_long(argc, argv.data(), shortOptions, longOptions.data(), nullptr);
        if (code == -1)
            break;
        const std::string_view text =
            element < argc ? std::string_view(storage[static_cast<std::size_t>(element)]) : std::string_view();
        if (code == 1) {
            if (Error error = takeFile(optarg))
                return UsageError{*error};
            continue;
        }
        if (code == 'h') {
            options.help = true;
            options.given.push_back("help");
            continue;
        }
        if (code == ':') // only long options take arguments
            return UsageError{Dashed(kOptions[static_cast<std::size_t>(optopt - kLongBase)].name) +
                              " needs an argument"};
        if (code == '?') {
            if (!text.starts_with("--"))
                return UsageError{"unknown option " + ShellQuote("-" + std::string(1, static_cast<char>(optopt)))};
            if (optopt >= kLongBase)
                return UsageError{Dashed(kOptions[static_cast<std::size_t>(optopt - kLongBase)].name) +
                                  " takes no argument"};
            if (const std::string candidates = Candidates(OptionName(text)); !candidates.empty())
                return UsageError{"option " + ShellQuote(Dashed(OptionName(text))) + " is ambiguous: " + candidates};
            return UsageError{"unknown option " + ShellQuote(Dashed(OptionName(text)))};
        }
        const OptionRule& rule = kOptions[static_cast<std::size_t>(code - kLongBase)];
        if (Error error = rule.apply(options, rule.name, rule.takesValue ? optarg : ""))
            return UsageError{*error};
        options.given.push_back(rule.name);
    }
    for (int i = optind; i < argc; ++i) {
        if (Error error = takeFile(storage[static_cast<std::size_t>(i)]))
            return UsageError{*error};
    }
    // A forum's limits stand in for those not given.
    if (options.forumLength && !options.fit)
        options.fit = options.forumLength;
    if (options.forumTags && !options.maxTags)
        options.maxTags = options.forumTags;
    if (options.fit && std::find(options.given.begin(), options.given.end(), "step") != options.given.end())
        return UsageError{"--fit chooses the step itself: give --fit or --step, not both"};
    if (file && *file != "-")
        options.file = std::string(*file);
    return options;
}

} // namespace velmorant::cli
