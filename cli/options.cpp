#include "cli/options.h"

#include "cli/utf8.h"

#include <array>

namespace velmorant::cli {

const std::string_view kUsage = R"(usage: velmorant-cli [OPTIONS] [FILE]
Writes the gradient code for FILE (standard input without one, or with "-").
  --start RRGGBB   start colour (default FF00FF)
  --end RRGGBB     end colour (default 00FF00)
  --dialect NAME   html, ubb or qq (default: "[color=#" "]" "[/color]")
  --open TEXT      text before each colour code
  --middle TEXT    text between colour code and characters
  --close TEXT     text after the characters
  --step TEXT      characters per colour (default 1)
  --bold --italic --underline --strike
  --size TEXT      size tag text, none when empty (default 1)
  --font TEXT      font tag text, none when empty (default 宋体)
  --help --version
An option's argument is the next argument, or follows "=". "--" ends the options.
)";

namespace {

using Error = std::optional<std::string>;

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

Error ReadText(std::string_view name, std::string_view value, std::u16string& into) {
    Utf8Decoded decoded = DecodeUtf8(value);
    if (decoded.badByte)
        return "--" + std::string(name) + ": argument is not valid UTF-8";
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
    const std::optional<Rgb> colour = ParseColour(value);
    if (!colour)
        return "--" + std::string(name) + ": '" + std::string(value) + "' is not a colour RRGGBB";
    into = *colour;
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
    OptionRule{"start", true, [](Options& o, auto n, auto v) { return ReadColour(n, v, o.colours.start); }},
    OptionRule{"end", true, [](Options& o, auto n, auto v) { return ReadColour(n, v, o.colours.end); }},
    OptionRule{"dialect", true,
               [](Options& o, auto n, auto v) -> Error {
                   constexpr std::array<std::string_view, 3> names{"html", "ubb", "qq"};
                   for (std::size_t i = 0; i < names.size(); ++i) {
                       if (v == names[i]) {
                           o.dialect = static_cast<std::int16_t>(i);
                           return std::nullopt;
                       }
                   }
                   return "--" + std::string(n) + ": unknown dialect '" + std::string(v) + "'";
               }},
    OptionRule{"open", true, [](Options& o, auto n, auto v) { return ReadOptionalText(n, v, o.open); }},
    OptionRule{"middle", true, [](Options& o, auto n, auto v) { return ReadOptionalText(n, v, o.middle); }},
    OptionRule{"close", true, [](Options& o, auto n, auto v) { return ReadOptionalText(n, v, o.close); }},
    OptionRule{"step", true, [](Options& o, auto n, auto v) { return ReadText(n, v, o.step); }},
    OptionRule{"size", true, [](Options& o, auto n, auto v) { return ReadText(n, v, o.styles.size); }},
    OptionRule{"font", true, [](Options& o, auto n, auto v) { return ReadText(n, v, o.styles.font); }},
    OptionRule{"bold", false, [](Options& o, auto, auto) { return Set(o.styles.bold); }},
    OptionRule{"italic", false, [](Options& o, auto, auto) { return Set(o.styles.italic); }},
    OptionRule{"underline", false, [](Options& o, auto, auto) { return Set(o.styles.underline); }},
    OptionRule{"strike", false, [](Options& o, auto, auto) { return Set(o.styles.strikethrough); }},
    OptionRule{"help", false, [](Options& o, auto, auto) { return Set(o.help); }},
    OptionRule{"version", false, [](Options& o, auto, auto) { return Set(o.version); }},
};

const OptionRule* FindOption(std::string_view name) {
    for (const OptionRule& rule : kOptions) {
        if (rule.name == name)
            return &rule;
    }
    return nullptr;
}

} // namespace

std::optional<Rgb> ParseColour(std::string_view text) {
    if (text.starts_with('#'))
        text.remove_prefix(1);
    if (text.size() != 6)
        return std::nullopt;
    std::array<Channel, 3> channels{};
    for (std::size_t c = 0; c < 3; ++c) {
        const int high = HexDigit(text[2 * c]);
        const int low = HexDigit(text[2 * c + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        channels[c] = static_cast<Channel>(high * 16 + low);
    }
    return Rgb{channels[0], channels[1], channels[2]};
}

std::variant<Options, UsageError> ParseOptions(std::span<const std::string_view> args) {
    Options options;
    std::optional<std::string_view> file;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            if (file)
                return UsageError{"more than one FILE given"};
            file = arg;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!arg.starts_with("--"))
            return UsageError{"unknown option '" + std::string(arg) + "'"};

        std::string_view name = arg.substr(2);
        std::optional<std::string_view> value;
        if (const std::size_t eq = name.find('='); eq != std::string_view::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const OptionRule* rule = FindOption(name);
        if (!rule)
            return UsageError{"unknown option '--" + std::string(name) + "'"};
        if (!rule->takesValue && value)
            return UsageError{"--" + std::string(name) + " takes no argument"};
        // The next argument is the value even when it starts with "-": "--step -2".
        if (rule->takesValue && !value) {
            if (i + 1 == args.size())
                return UsageError{"--" + std::string(name) + " needs an argument"};
            value = args[++i];
        }
        if (Error error = rule->apply(options, name, value.value_or("")))
            return UsageError{*error};
    }
    if (file && *file != "-")
        options.file = std::string(*file);
    return options;
}

} // namespace velmorant::cli
