#include "cli/options.h"

#include "cli/shell_quote.h"
#include "core/colour/colour_names.h"
#include "core/colour/css_colour.h"
#include "core/colour/mixing.h"
#include "core/colour/palettes.h"
#include "core/colour/spaces.h"
#include "core/conversion/choices.h"
#include "core/conversion/description.h"
#include "core/conversion/destinations.h"
#include "core/text/utf8.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <vector>

namespace velmorant::cli {

namespace {

// The settings' lines come from the core's table, their defaults from the start-up request.
constexpr std::string_view kUsageTemplate = R"(Usage: velmorant-cli [OPTION]... [FILE]
Write gradient-coloured forum code for FILE (standard input without one, or "-").

Colours (RRGGBB, #RGB, a name such as orange, or any CSS colour, e.g. oklch()):
{colours}
Code:
{code}
Styles around the code:
{styles}
Other:
  --decode             read a code back: its text to standard output, its
                       colours to standard error; without --format, in the
                       format that explains all of it (two that read it
                       differently are named, exit status 2)
  --list WHAT          {lists}
  --stats              counts to standard error after the code
  -h, --help           show this help and exit
  --version            show the version and exit

Blends, as CSS's color-mix() writes them (such as 'oklch longer hue'):
{blends}

Palettes:
{palettes}
Settings apply in the order above, whatever their order on the command line:
a later one of the same name wins.
An option's argument is the next argument, or follows "=". "--" ends the options.
A long option may be shortened to any prefix that names it alone.
Exit status: 0 done, 1 unreadable input or output, 2 bad usage, 3 nothing fits.

Report bugs to: <developers@velmorant.org>
)";

// Other spellings of an option's name; getopt_long takes a prefix of both as one option.
constexpr std::pair<std::string_view, std::string_view> kAliases[] = {
    {"colors", "colours"}, {"dialect", "format"}, {"forum", "to"}};

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

// Words filled into lines of at most 79 columns from column, each line after the first indented.
std::string Wrapped(std::string_view text, std::size_t column, std::size_t indent) {
    std::string out;
    while (!text.empty()) {
        const std::string_view word = text.substr(0, text.find(' '));
        text.remove_prefix(std::min(word.size() + 1, text.size()));
        if (!out.empty() && column + 1 + word.size() > 79) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (!out.empty()) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
    }
    return out;
}

// One setting's line of the help: the option, what it takes, what it does, its start-up value.
std::string UsageLine(const Setting& row) {
    std::string option = "  --" + std::string(row.name);
    if (!row.argument.empty())
        option += " " + std::string(row.argument);
    std::string help(row.help.en);
    const std::string startup = EncodeUtf8(StartupText(row));
    if (!startup.empty() && row.kind != SettingKind::Flag)
        help += row.kind == SettingKind::Text || row.kind == SettingKind::List ? " (default \"" + startup + "\")"
                                                                               : " (default " + startup + ")";
    for (const auto& [alias, name] : kAliases)
        if (name == row.name)
            help += "; --" + std::string(alias) + " is its other name";
    if (row.list == "destinations")
        help += ": " + Names(Destinations(), " or ");
    else if (row.kind == SettingKind::Blend || row.list == "palettes")
        help += "; see below";
    if (option.size() + 2 > 23)
        option += "\n" + std::string(23, ' ');
    else
        option.resize(23, ' ');
    std::string line = option + Wrapped(help, 23, 23) + "\n";
    if (row.list == "formats")
        line += FormatLines();
    return line;
}

std::string OptionLines();

} // namespace

namespace {

// One name a line.
template <class Items, class Name> std::string Lines(const Items& items, Name name) {
    std::string lines;
    for (const auto& item : items)
        lines += std::string(name(item)) + "\n";
    return lines;
}

std::string ListNames();

// Every list --list prints, in the order --list=lists gives them.
constexpr std::pair<std::string_view, std::string (*)()> kLists[] = {
    {"formats", [] { return Lines(Formats(), [](const Format& f) { return f.name; }); }},
    {"blends", [] { return Lines(BlendNames(), [](std::string_view name) { return name; }); }},
    {"palettes", [] { return Lines(Palettes(), [](const Palette& p) { return p.name; }); }},
    {"sizes", [] { return Lines(SizeChoices(), [](std::u16string_view size) { return EncodeUtf8(size); }); }},
    {"fonts", [] { return Lines(FontChoices(), [](std::u16string_view font) { return EncodeUtf8(font); }); }},
    {"destinations", [] { return Lines(Destinations(), [](const Destination& d) { return d.name; }); }},
    {"colours",
     [] {
         std::string lines;
         for (std::size_t i = 0; i < NamedColourCount(); ++i)
             lines += std::string(NamedColourName(i)) + "\n";
         return lines;
     }},
    {"settings", [] { return Lines(SettingRows(), [](const Setting& row) { return row.name; }); }},
    {"options", OptionLines},
    {"description", [] { return DescriptionJson() + "\n"; }},
    {"lists", ListNames},
};

std::string ListNames() {
    return Lines(kLists, [](const auto& list) { return list.first; });
}

} // namespace

std::optional<std::string> ListText(std::string_view what) {
    for (const auto& [name, lines] : kLists)
        if (name == what)
            return lines();
    return std::nullopt;
}

std::string Usage() {
    std::string groups[3];
    for (const Setting& row : SettingRows())
        groups[static_cast<std::size_t>(row.group)] += UsageLine(row);
    // Both lists come from the one table each, as the completion reads them here.
    const auto wrap = [](const std::vector<std::string_view>& items) {
        std::string text;
        for (const std::string_view item : items)
            text.append(text.empty() ? "" : " ").append(item).append(item == items.back() ? "" : ",");
        return "  " + Wrapped(text, 2, 2);
    };
    std::string blends = wrap(BlendNames());
    std::vector<std::string_view> polar;
    for (const std::string_view name : BlendNames())
        if (IsPolar(ReadBlend(name)->space))
            polar.push_back(name);
    blends += "\n" + wrap(polar) + " also as 'SPACE METHOD hue', METHOD one of\n";
    blends += wrap(HueMethodNames());
    std::string palettes;
    for (const Palette& palette : Palettes()) {
        palettes.append("  ").append(palette.name).append(std::string(10 - palette.name.size(), ' '));
        palettes.append(palette.description).append("\n");
    }
    std::string listNames = "one name a line of";
    for (const auto& [list, lines] : kLists)
        if (list != "description")
            listNames.append(" ").append(list).append(",");
    listNames.back() = ';';
    listNames += " with description, all of them and the start-up values as JSON";
    const std::pair<std::string_view, std::string> values[] = {
        {"{colours}", groups[static_cast<std::size_t>(SettingGroup::Colours)]},
        {"{code}", groups[static_cast<std::size_t>(SettingGroup::Code)]},
        {"{styles}", groups[static_cast<std::size_t>(SettingGroup::Styles)]},
        {"{lists}", Wrapped(listNames, 23, 23)},
        {"{blends}", blends},
        {"{palettes}", palettes}};
    std::string usage(kUsageTemplate);
    for (const auto& [name, value] : values)
        usage.replace(usage.find(name), name.size(), value);
    return usage;
}

namespace {

using Error = std::optional<std::string>;

std::string Dashed(std::string_view name) { return "--" + std::string(name); }

Error Set(bool& flag) {
    flag = true;
    return std::nullopt;
}

// The options that are no setting; every setting is an option of its own name.
struct OwnOption {
    std::string_view name;
    bool takesValue;
    Error (*apply)(Options&, std::string_view value);
};

const std::array kOwnOptions{
    OwnOption{"decode", false, [](Options& o, auto) { return Set(o.decode); }},
    OwnOption{"list", true,
              [](Options& o, std::string_view v) -> Error {
                  if (!ListText(v))
                      return "--list: unknown list " + ShellQuote(v) + " (see --list=lists)";
                  o.list = std::string(v);
                  return std::nullopt;
              }},
    OwnOption{"stats", false, [](Options& o, auto) { return Set(o.stats); }},
    OwnOption{"help", false, [](Options& o, auto) { return Set(o.help); }},
    OwnOption{"version", false, [](Options& o, auto) { return Set(o.version); }},
};

// One long option: a setting or one of the CLI's own, under its name or another.
struct LongOption {
    std::string_view name;
    const Setting* setting;
    const OwnOption* own;
    bool TakesValue() const { return setting ? setting->kind != SettingKind::Flag : own->takesValue; }
    std::string_view Canonical() const { return setting ? setting->name : own->name; }
};

// The settings, the CLI's own, then the other names: getopt_long reports each by
// its index here, offset past every character; another name reports its option's.
const std::vector<LongOption>& LongOptions() {
    static const std::vector<LongOption> options = [] {
        std::vector<LongOption> all;
        for (const Setting& row : SettingRows())
            all.push_back({row.name, &row, nullptr});
        for (const OwnOption& own : kOwnOptions)
            all.push_back({own.name, nullptr, &own});
        for (const auto& [alias, name] : kAliases)
            for (const LongOption& option : std::vector(all))
                if (option.name == name)
                    all.push_back({alias, option.setting, option.own});
        return all;
    }();
    return options;
}

constexpr int kLongBase = 0x100;

int LongCode(const LongOption& option) {
    const std::vector<LongOption>& all = LongOptions();
    const auto first =
        std::find_if(all.begin(), all.end(), [&](const LongOption& o) { return o.Canonical() == option.Canonical(); });
    return kLongBase + static_cast<int>(first - all.begin());
}

// "--name kind list" a line, for the completion: kind as the description names
// it, list the one --list gives the values from.
std::string OptionLines() {
    std::string lines;
    for (const LongOption& option : LongOptions()) {
        std::string_view kind = option.TakesValue() ? "text" : "flag", list;
        if (const Setting* row = option.setting) {
            kind = SettingKindName(row->kind);
            list = row->kind == SettingKind::Colour || row->kind == SettingKind::Stops ? "colours"
                   : row->kind == SettingKind::Blend                                   ? "blends"
                                                                                       : row->list;
        } else if (option.name == "list") {
            kind = "list";
            list = "lists";
        }
        lines += Dashed(option.name) + " " + std::string(kind) + (list.empty() ? "" : " " + std::string(list)) + "\n";
    }
    return lines;
}

// The options a prefix that getopt_long did not take could mean, "--a, --b", when more than one.
std::string Candidates(std::string_view prefix) {
    // Each option once, by the first of its names the prefix fits.
    std::string names;
    std::vector<std::string_view> seen;
    for (const LongOption& option : LongOptions()) {
        if (option.name.starts_with(prefix) && std::find(seen.begin(), seen.end(), option.Canonical()) == seen.end()) {
            seen.push_back(option.Canonical());
            names += (seen.size() > 1 ? ", " : "") + Dashed(option.name);
        }
    }
    return seen.size() > 1 ? names : std::string();
}

std::string_view OptionName(std::string_view element) {
    element.remove_prefix(2);
    return element.substr(0, element.find('='));
}

// A setting's value, checked on its own so that the first bad one on the line is
// the one reported, under the name it was given.
Error ReadSetting(std::string_view given, const Setting& row, std::string_view text, std::vector<SettingValue>& into) {
    Utf8Decoded decoded = DecodeUtf8(row.kind == SettingKind::Flag ? std::string_view("1") : text);
    if (decoded.badByte)
        return Dashed(given) + ": argument is not valid UTF-8";
    SettingValue value{&row, std::move(decoded.text)};
    Settings scratch;
    std::vector<SettingProblem> problems = ApplySettings(scratch, std::span(&value, 1));
    // On the command line a limit is given to have one.
    if (row.kind == SettingKind::Limit && value.value.empty())
        problems.push_back({std::string(row.name), "not-number", value.value, std::nullopt});
    if (!problems.empty())
        return Dashed(given) + ": " + SettingProblemText(problems.front(), ShellQuote);
    into.push_back(std::move(value));
    return std::nullopt;
}

} // namespace

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

    const std::vector<LongOption>& all = LongOptions();
    std::vector<option> longOptions;
    for (const LongOption& o : all)
        longOptions.push_back({o.name.data(), o.TakesValue() ? required_argument : no_argument, nullptr, LongCode(o)});
    longOptions.push_back({nullptr, 0, nullptr, 0});

    Options options;
    std::vector<SettingValue> values;
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
        int index = -1;
        const int code = getopt_long(argc, argv.data(), shortOptions, longOptions.data(), &index);
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
        const auto named = [&](int c) { return Dashed(all[static_cast<std::size_t>(c - kLongBase)].name); };
        if (code == ':') // only long options take arguments
            return UsageError{named(optopt) + " needs an argument"};
        if (code == '?') {
            if (!text.starts_with("--"))
                return UsageError{"unknown option " + ShellQuote("-" + std::string(1, static_cast<char>(optopt)))};
            if (optopt >= kLongBase)
                return UsageError{named(optopt) + " takes no argument"};
            if (const std::string candidates = Candidates(OptionName(text)); !candidates.empty())
                return UsageError{"option " + ShellQuote(Dashed(OptionName(text))) + " is ambiguous: " + candidates};
            return UsageError{"unknown option " + ShellQuote(Dashed(OptionName(text)))};
        }
        const LongOption& option = all[static_cast<std::size_t>(index)];
        const std::string_view value = option.TakesValue() ? optarg : "";
        if (Error error = option.setting ? ReadSetting(option.name, *option.setting, value, values)
                                         : option.own->apply(options, value))
            return UsageError{*error};
        options.given.push_back(option.Canonical());
    }
    for (int i = optind; i < argc; ++i) {
        if (Error error = takeFile(storage[static_cast<std::size_t>(i)]))
            return UsageError{*error};
    }
    // Each value was read alone above, so all of them together apply.
    ApplySettings(options.settings, values);
    if (options.settings.fit && std::find(options.given.begin(), options.given.end(), "step") != options.given.end())
        return UsageError{"--fit chooses the step itself: give --fit or --step, not both"};
    if (file && *file != "-")
        options.file = std::string(*file);
    return options;
}

} // namespace velmorant::cli
