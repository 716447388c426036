#include "core/colour/css_colour.h"

#include "core/colour/colour_text.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace velmorant {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

enum class Unit { Number, Percent, Degrees, None };
struct Token {
    double value = 0;
    Unit unit = Unit::Number;
};

std::optional<Token> ReadToken(std::string_view text) {
    if (text == "none")
        return Token{0, Unit::None};
    if (text.starts_with('+'))
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = fast_float::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end == text.data())
        return std::nullopt;
    const std::string_view unit = text.substr(static_cast<std::size_t>(end - text.data()));
    constexpr std::array<std::pair<std::string_view, double>, 4> kAngles{
        {{"deg", 1}, {"rad", 180 / std::numbers::pi}, {"grad", 0.9}, {"turn", 360}}};
    if (unit.empty())
        return Token{value, Unit::Number};
    if (unit == "%")
        return Token{value, Unit::Percent};
    for (const auto& [name, scale] : kAngles)
        if (unit == name)
            return Token{value * scale, Unit::Degrees};
    return std::nullopt;
}

// Splits a function's arguments at blanks, commas and the "/" before alpha: the
// three components come back, alpha is checked and dropped.
std::optional<std::array<Token, 3>> ReadArguments(std::string_view args) {
    std::array<Token, 3> out{};
    std::size_t count = 0;
    bool alpha = false, afterAlpha = false;
    std::size_t at = 0;
    while (at < args.size()) {
        const char c = args[at];
        if (c == ' ' || c == '\t' || c == '\n' || c == ',') {
            ++at;
            continue;
        }
        if (c == '/') {
            if (alpha || count != 3)
                return std::nullopt;
            alpha = true;
            ++at;
            continue;
        }
        const std::size_t end = std::min(args.find_first_of(" \t\n,/", at), args.size());
        const std::optional<Token> token = ReadToken(args.substr(at, end - at));
        if (!token)
            return std::nullopt;
        if (count < 3)
            out[count++] = *token;
        else if (!afterAlpha &&
                 (token->unit == Unit::Number || token->unit == Unit::Percent || token->unit == Unit::None))
            afterAlpha = true;
        else
            return std::nullopt;
        at = end;
    }
    if (count != 3 || (alpha && !afterAlpha))
        return std::nullopt;
    return out;
}

// How a component reads: numbers as they stand times numberScale, percentages of
// percentScale, angles for hues; clamped as CSS clamps them where it does.
struct ComponentRule {
    double numberScale = 1, percentScale = 1;
    double low = -1e300, high = 1e300;
    bool hue = false;
};

constexpr ComponentRule kUnit{1, 0.01};
constexpr ComponentRule kHue{1, 0, -1e300, 1e300, true};

struct FunctionRow {
    std::string_view name;
    Space space;
    std::array<ComponentRule, 3> rules;
};

constexpr ComponentRule kByte{1.0 / 255, 0.01, 0, 1};
constexpr ComponentRule kFraction{0.01, 0.01, 0, 1};
constexpr ComponentRule kLabLightness{1, 1, 0, 100};
constexpr ComponentRule kOkLightness{1, 0.01, 0, 1};

constexpr std::array<FunctionRow, 10> kFunctions{{
    {"rgb", Space::Srgb, {kByte, kByte, kByte}},
    {"rgba", Space::Srgb, {kByte, kByte, kByte}},
    {"hsl", Space::Hsl, {kHue, kFraction, kFraction}},
    {"hsla", Space::Hsl, {kHue, kFraction, kFraction}},
    {"hwb", Space::Hwb, {kHue, kFraction, kFraction}},
    {"lab", Space::Lab, {kLabLightness, {1, 1.25}, {1, 1.25}}},
    {"lch", Space::Lch, {kLabLightness, {1, 1.5, 0}, kHue}},
    {"oklab", Space::Oklab, {kOkLightness, {1, 0.004}, {1, 0.004}}},
    {"oklch", Space::Oklch, {kOkLightness, {1, 0.004, 0}, kHue}},
    {"color", Space::Srgb, {kUnit, kUnit, kUnit}},
}};

constexpr std::array<std::pair<std::string_view, Space>, 9> kColorSpaces{{
    {"srgb", Space::Srgb},
    {"srgb-linear", Space::SrgbLinear},
    {"display-p3", Space::DisplayP3},
    {"a98-rgb", Space::A98Rgb},
    {"prophoto-rgb", Space::ProphotoRgb},
    {"rec2020", Space::Rec2020},
    {"xyz", Space::Xyz},
    {"xyz-d50", Space::XyzD50},
    {"xyz-d65", Space::XyzD65},
}};

std::optional<CssColour> ReadFunction(std::string_view text) {
    const std::size_t open = text.find('(');
    if (open == std::string_view::npos || !text.ends_with(')'))
        return std::nullopt;
    const std::string_view name = Trim(text.substr(0, open));
    std::string_view args = text.substr(open + 1, text.size() - open - 2);
    for (const FunctionRow& row : kFunctions) {
        if (name != row.name)
            continue;
        CssColour out{{row.space, {}, {}}, false};
        if (name == "color") {
            args = Trim(args);
            const std::size_t blank = std::min(args.find_first_of(" \t\n"), args.size());
            const auto known = std::find_if(kColorSpaces.begin(), kColorSpaces.end(),
                                            [&](const auto& s) { return s.first == args.substr(0, blank); });
            if (known == kColorSpaces.end())
                return std::nullopt;
            out.colour.space = known->second;
            args.remove_prefix(blank);
        }
        const std::optional<std::array<Token, 3>> tokens = ReadArguments(args);
        if (!tokens)
            return std::nullopt;
        bool whole = row.space == Space::Srgb && name != "color";
        for (std::size_t k = 0; k < 3; ++k) {
            const Token& token = (*tokens)[k];
            const ComponentRule& rule = row.rules[k];
            if (token.unit == Unit::None) {
                out.colour.missing[k] = true;
                whole = false;
                continue;
            }
            if (token.unit == Unit::Degrees ? !rule.hue : token.unit == Unit::Percent && rule.hue)
                return std::nullopt;
            const double value =
                token.unit == Unit::Percent ? token.value * rule.percentScale : token.value * rule.numberScale;
            out.colour.c[k] =
                rule.hue ? std::fmod(std::fmod(value, 360) + 360, 360) : std::clamp(value, rule.low, rule.high);
            const double byte = out.colour.c[k] * 255;
            whole = whole && byte == static_cast<double>(static_cast<int>(byte));
        }
        out.plain = whole;
        return out;
    }
    return std::nullopt;
}

} // namespace

std::optional<CssColour> ReadCssColour(std::string_view text) {
    text = Trim(text);
    if (const std::optional<Rgb> rgb = ReadColourText(text))
        return CssColour{FromRgb(*rgb), true};
    // "#RGBA" and "#RRGGBBAA": the colour without its alpha.
    if (text.starts_with('#') && (text.size() == 5 || text.size() == 9)) {
        const bool hex = std::all_of(text.begin() + 1, text.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        });
        if (hex)
            if (const std::optional<Rgb> rgb = ReadColourText(text.substr(0, text.size() == 5 ? 4 : 7)))
                return CssColour{FromRgb(*rgb), true};
        return std::nullopt;
    }
    const std::string lower = Lower(text);
    return ReadFunction(lower);
}

std::vector<double> FixPositions(const std::vector<std::optional<double>>& given) {
    std::vector<std::optional<double>> at = given;
    if (at.empty())
        return {};
    if (!at.front())
        at.front() = 0.0;
    if (!at.back())
        at.back() = 1.0;
    double highest = *at.front();
    for (auto& p : at)
        if (p)
            highest = *p = std::max(*p, highest);
    std::vector<double> out(at.size());
    for (std::size_t j = 0; j < at.size();) {
        std::size_t next = j + 1;
        while (next < at.size() && !at[next])
            ++next;
        out[j] = *at[j];
        for (std::size_t u = j + 1; u < next && next < at.size(); ++u)
            out[u] = *at[j] + (*at[next] - *at[j]) * static_cast<double>(u - j) / static_cast<double>(next - j);
        j = next;
    }
    return out;
}

bool ReadStops(std::string_view text, Gradient& gradient, std::string_view& bad) {
    std::vector<CssColour> colours;
    std::vector<std::optional<double>> given;
    bool anyPosition = false;
    for (std::size_t from = 0; from <= text.size();) {
        // The next comma outside parentheses ends the stop.
        std::size_t end = from;
        for (int depth = 0; end < text.size() && (depth > 0 || text[end] != ','); ++end)
            depth += text[end] == '(' ? 1 : text[end] == ')' ? -1 : 0;
        const std::string_view stop = Trim(text.substr(from, end - from));
        bad = stop;
        std::string_view colour = stop;
        std::optional<double> position;
        const std::size_t blank = stop.find_last_of(" \t\n");
        if (stop.ends_with('%') && blank != std::string_view::npos) {
            const std::optional<Token> token = ReadToken(stop.substr(blank + 1));
            if (!token || token->unit != Unit::Percent)
                return false;
            position = token->value / 100;
            colour = Trim(stop.substr(0, blank));
            anyPosition = true;
        }
        const std::optional<CssColour> read = ReadCssColour(colour);
        if (!read)
            return false;
        colours.push_back(*read);
        given.push_back(position);
        from = end + 1;
    }
    bad = {};
    if (colours.size() < 2)
        return false;
    gradient.stops.clear();
    gradient.exact.clear();
    gradient.positions.clear();
    const bool plain = std::all_of(colours.begin(), colours.end(), [](const CssColour& c) { return c.plain; });
    for (const CssColour& c : colours) {
        gradient.stops.push_back(ToRgb(c.colour));
        if (!plain)
            gradient.exact.push_back(c.colour);
    }
    if (anyPosition) {
        gradient.positions = FixPositions(given);
        // Positions that are the equal spacing anyway keep the exact integer rule.
        const double m = static_cast<double>(colours.size() - 1);
        bool even = true;
        for (std::size_t j = 0; j < colours.size(); ++j)
            even = even && gradient.positions[j] == static_cast<double>(j) / m;
        if (even)
            gradient.positions.clear();
    }
    return true;
}

std::optional<Blend> ReadBlend(std::string_view text) {
    std::array<std::string_view, 4> words{};
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (text[at] == ' ' || text[at] == '\t') {
            ++at;
            continue;
        }
        const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
        if (count == words.size())
            return std::nullopt;
        words[count++] = text.substr(at, end - at);
        at = end;
    }
    const auto equal = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return (x >= 'A' && x <= 'Z' ? x + 32 : x) == y;
               });
    };
    for (const Space space : Spaces()) {
        if (count == 0 || !equal(words[0], SpaceName(space)))
            continue;
        if (count == 1)
            return Blend{space, HueMethod::Shorter};
        if (count != 3 || !IsPolar(space) || !equal(words[2], "hue"))
            return std::nullopt;
        for (const HueMethod method : HueMethods())
            if (equal(words[1], HueMethodName(method)))
                return Blend{space, method};
    }
    return std::nullopt;
}

std::string BlendText(const Blend& blend) {
    std::string text(SpaceName(blend.space));
    if (IsPolar(blend.space) && blend.hue != HueMethod::Shorter)
        text.append(" ").append(HueMethodName(blend.hue)).append(" hue");
    return text;
}

} // namespace velmorant
