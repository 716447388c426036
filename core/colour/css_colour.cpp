#include "core/colour/css_colour.h"

#include "core/colour/colour_names.h"
#include "core/colour/colour_text.h"
#include "core/colour/css_tokens.h"
#include "core/text/code_points.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <span>
#include <string>

namespace velmorant {

namespace {

std::string_view Trim(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\n\r\f";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

using Tokens = std::span<const CssToken>;

// The token after the block a function or "(" at `open` starts, or the end when
// the block is left open (a browser closes it there).
std::size_t BlockEnd(Tokens tokens, std::size_t open) {
    int depth = 0;
    for (std::size_t k = open; k < tokens.size(); ++k) {
        const TokenKind kind = tokens[k].kind;
        depth += kind == TokenKind::Function || kind == TokenKind::Open ? 1 : kind == TokenKind::Close ? -1 : 0;
        if (depth == 0)
            return k + 1;
    }
    return tokens.size();
}

// The tokens inside the block that starts at `open`, without its ")".
Tokens Inside(Tokens tokens, std::size_t open) {
    const std::size_t end = BlockEnd(tokens, open);
    const bool closed = tokens[end - 1].kind == TokenKind::Close && end - 1 > open;
    return tokens.subspan(open + 1, end - open - 1 - (closed ? 1 : 0));
}

struct Cursor {
    Tokens tokens;
    std::size_t at = 0;
    const CssToken* Peek() {
        while (at < tokens.size() && tokens[at].kind == TokenKind::Blank)
            ++at;
        return at < tokens.size() ? &tokens[at] : nullptr;
    }
    bool TakeDelim(char c) {
        const CssToken* t = Peek();
        if (!t || t->kind != TokenKind::Delim || t->text[0] != c)
            return false;
        ++at;
        return true;
    }
    bool TakeComma() {
        const CssToken* t = Peek();
        if (!t || t->kind != TokenKind::Comma)
            return false;
        ++at;
        return true;
    }
    bool AtEnd() { return Peek() == nullptr; }
};

// A component's value and what it is; None is the keyword "none".
enum class Type { Number, Percent, Angle, None };
struct Value {
    double value = 0;
    Type type = Type::Number;
};

// The channel keywords of a relative colour, with their values.
using Channels = std::vector<std::pair<std::string_view, double>>;

std::optional<double> Degrees(std::string_view unit) {
    constexpr std::array<std::pair<std::string_view, double>, 4> kAngles{
        {{"deg", 1}, {"rad", 180 / std::numbers::pi}, {"grad", 0.9}, {"turn", 360}}};
    for (const auto& [name, scale] : kAngles)
        if (unit == name)
            return scale;
    return std::nullopt;
}

std::optional<Value> Sum(Cursor& c, const Channels& channels, int depth);

// calc(), min(), max() and clamp() of constants and channel keywords.
std::optional<Value> MathFunction(std::string_view name, Tokens inside, const Channels& channels, int depth) {
    if (name != "calc" && name != "min" && name != "max" && name != "clamp")
        return std::nullopt;
    std::vector<Value> args;
    Cursor c{inside};
    do {
        const std::optional<Value> v = Sum(c, channels, depth);
        if (!v || (!args.empty() && v->type != args.front().type))
            return std::nullopt;
        args.push_back(*v);
    } while (name != "calc" && c.TakeComma());
    if (!c.AtEnd() || (name == "clamp" && args.size() != 3))
        return std::nullopt;
    Value out = args.front();
    if (name == "clamp")
        out.value = std::max(args[0].value, std::min(args[1].value, args[2].value));
    else if (name != "calc")
        for (const Value& v : args)
            out.value = name == "min" ? std::min(out.value, v.value) : std::max(out.value, v.value);
    return out;
}

std::optional<Value> Term(Cursor& c, const Channels& channels, int depth) {
    const CssToken* t = c.Peek();
    // Brackets inside brackets inside ...: a few dozen levels are plenty.
    if (!t || depth > 32)
        return std::nullopt;
    const std::size_t at = c.at++;
    switch (t->kind) {
    case TokenKind::Number:
        return Value{t->value, Type::Number};
    case TokenKind::Percentage:
        return Value{t->value, Type::Percent};
    case TokenKind::Dimension:
        if (const std::optional<double> scale = Degrees(t->text))
            return Value{t->value * *scale, Type::Angle};
        return std::nullopt;
    case TokenKind::Ident: {
        constexpr std::array<std::pair<std::string_view, double>, 5> kConstants{
            {{"e", std::numbers::e},
             {"pi", std::numbers::pi},
             {"infinity", std::numeric_limits<double>::infinity()},
             {"-infinity", -std::numeric_limits<double>::infinity()},
             {"nan", std::numeric_limits<double>::quiet_NaN()}}};
        for (const auto& [name, value] : kConstants)
            if (t->text == name)
                return Value{value, Type::Number};
        for (const auto& [name, value] : channels)
            if (t->text == name)
                return Value{value, Type::Number};
        return std::nullopt;
    }
    case TokenKind::Open: {
        Cursor inner{Inside(c.tokens, at)};
        c.at = BlockEnd(c.tokens, at);
        const std::optional<Value> v = Sum(inner, channels, depth + 1);
        return v && inner.AtEnd() ? v : std::nullopt;
    }
    case TokenKind::Function:
        c.at = BlockEnd(c.tokens, at);
        return MathFunction(t->text, Inside(c.tokens, at), channels, depth + 1);
    default:
        return std::nullopt;
    }
}

std::optional<Value> Product(Cursor& c, const Channels& channels, int depth) {
    std::optional<Value> v = Term(c, channels, depth);
    while (v) {
        const std::size_t at = c.at;
        const bool times = c.TakeDelim('*');
        if (!times && !c.TakeDelim('/')) {
            c.at = at; // the blanks before a "+" or "-" stay for Sum
            break;
        }
        const std::optional<Value> rhs = Term(c, channels, depth);
        if (!rhs || (rhs->type != Type::Number && (!times || v->type != Type::Number)))
            return std::nullopt;
        v = Value{times ? v->value * rhs->value : v->value / rhs->value,
                  rhs->type == Type::Number ? v->type : rhs->type};
    }
    return v;
}

// "+" and "-" need blanks on both sides, as CSS asks.
std::optional<Value> Sum(Cursor& c, const Channels& channels, int depth) {
    std::optional<Value> v = Product(c, channels, depth);
    const Tokens t = c.tokens;
    while (v && c.at + 2 < t.size() && t[c.at].kind == TokenKind::Blank && t[c.at + 1].kind == TokenKind::Delim &&
           (t[c.at + 1].text == "+" || t[c.at + 1].text == "-") && t[c.at + 2].kind == TokenKind::Blank) {
        const bool plus = t[c.at + 1].text == "+";
        c.at += 3;
        const std::optional<Value> rhs = Product(c, channels, depth);
        if (!rhs || rhs->type != v->type)
            return std::nullopt;
        v->value = plus ? v->value + rhs->value : v->value - rhs->value;
    }
    return v;
}

constexpr double kMaxDouble = std::numeric_limits<double>::max();

// One component: a number, percentage, angle, "none", a channel keyword or a math
// function, whose NaN is 0 as CSS reads a calculation's result.
std::optional<Value> Component(Cursor& c, const Channels& channels) {
    const CssToken* t = c.Peek();
    if (!t || t->kind == TokenKind::Open)
        return std::nullopt;
    if (t->kind == TokenKind::Ident && t->text == "none") {
        ++c.at;
        return Value{0, Type::None};
    }
    // The constants belong to math functions only.
    if (t->kind == TokenKind::Ident &&
        std::none_of(channels.begin(), channels.end(), [&](const auto& ch) { return ch.first == t->text; }))
        return std::nullopt;
    const bool math = t->kind == TokenKind::Function;
    std::optional<Value> v = Term(c, channels, 0);
    // A calculation's NaN is 0 and its infinities the largest doubles, as CSS reads them.
    if (v && math)
        v->value = std::isnan(v->value) ? 0 : std::clamp(v->value, -kMaxDouble, kMaxDouble);
    return v;
}

// How a component reads: numbers as they stand times numberScale, percentages
// times percentScale, angles for hues; clamped as CSS clamps them where it does.
struct ComponentRule {
    double numberScale = 1, percentScale = 1;
    double low = -std::numeric_limits<double>::infinity(), high = std::numeric_limits<double>::infinity();
    bool hue = false;
};

constexpr ComponentRule kZeroToOne{1, 0.01};
constexpr ComponentRule kHue{1, 0, 0, 0, true};
constexpr ComponentRule kByte{1.0 / 255, 0.01, 0, 1};
// HSL's and HWB's percentages: below 0 is 0, above 100% stays (and paints as CSS mixes it).
constexpr ComponentRule kFraction{0.01, 0.01, 0, std::numeric_limits<double>::infinity()};
constexpr ComponentRule kLabLightness{1, 1, 0, 100};
constexpr ComponentRule kOkLightness{1, 0.01, 0, 1};
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A function's space, how its components read, the names its components take in a
// relative colour, and those names' scale from the space's own units.
struct FunctionRow {
    std::string_view name;
    Space space;
    std::array<ComponentRule, 3> rules;
    std::array<std::string_view, 3> channels;
    std::array<double, 3> channelScale;
    bool legacy; // also takes the comma-separated form
};

constexpr std::array<FunctionRow, 10> kFunctions{{
    {"rgb", Space::Srgb, {kByte, kByte, kByte}, {"r", "g", "b"}, {255, 255, 255}, true},
    {"rgba", Space::Srgb, {kByte, kByte, kByte}, {"r", "g", "b"}, {255, 255, 255}, true},
    {"hsl", Space::Hsl, {kHue, kFraction, kFraction}, {"h", "s", "l"}, {1, 100, 100}, true},
    {"hsla", Space::Hsl, {kHue, kFraction, kFraction}, {"h", "s", "l"}, {1, 100, 100}, true},
    {"hwb", Space::Hwb, {kHue, kFraction, kFraction}, {"h", "w", "b"}, {1, 100, 100}, false},
    {"lab", Space::Lab, {kLabLightness, {1, 1.25}, {1, 1.25}}, {"l", "a", "b"}, {1, 1, 1}, false},
    {"lch", Space::Lch, {kLabLightness, {1, 1.5, 0, kInfinity}, kHue}, {"l", "c", "h"}, {1, 1, 1}, false},
    {"oklab", Space::Oklab, {kOkLightness, {1, 0.004}, {1, 0.004}}, {"l", "a", "b"}, {1, 1, 1}, false},
    {"oklch", Space::Oklch, {kOkLightness, {1, 0.004, 0, kInfinity}, kHue}, {"l", "c", "h"}, {1, 1, 1}, false},
    {"color", Space::Srgb, {kZeroToOne, kZeroToOne, kZeroToOne}, {"r", "g", "b"}, {1, 1, 1}, false},
}};

// color()'s spaces; display-p3-linear is read through display-p3.
constexpr std::array<std::pair<std::string_view, Space>, 10> kColorSpaces{{
    {"srgb", Space::Srgb},
    {"srgb-linear", Space::SrgbLinear},
    {"display-p3", Space::DisplayP3},
    {"display-p3-linear", Space::DisplayP3},
    {"a98-rgb", Space::A98Rgb},
    {"prophoto-rgb", Space::ProphotoRgb},
    {"rec2020", Space::Rec2020},
    {"xyz", Space::Xyz},
    {"xyz-d50", Space::XyzD50},
    {"xyz-d65", Space::XyzD65},
}};

// sRGB's transfer curve both ways, which display-p3 shares, odd about 0.
double SrgbEncode(double v) {
    const double a = std::abs(v);
    return a <= 0.0031308 ? v * 12.92 : std::copysign(1.055 * std::pow(a, 1 / 2.4) - 0.055, v);
}
double SrgbDecode(double v) {
    const double a = std::abs(v);
    return a <= 0.04045 ? v / 12.92 : std::copysign(std::pow((a + 0.055) / 1.055, 2.4), v);
}

// Colours that name no fixed colour here: the text's own, and the system's.
constexpr std::array<std::string_view, 47> kNotFixed{"currentcolor",
                                                     "canvas",
                                                     "canvastext",
                                                     "linktext",
                                                     "visitedtext",
                                                     "activetext",
                                                     "buttonface",
                                                     "buttontext",
                                                     "buttonborder",
                                                     "field",
                                                     "fieldtext",
                                                     "highlight",
                                                     "highlighttext",
                                                     "selecteditem",
                                                     "selecteditemtext",
                                                     "mark",
                                                     "marktext",
                                                     "graytext",
                                                     "accentcolor",
                                                     "accentcolortext",
                                                     "activeborder",
                                                     "activecaption",
                                                     "appworkspace",
                                                     "background",
                                                     "buttonhighlight",
                                                     "buttonshadow",
                                                     "captiontext",
                                                     "inactiveborder",
                                                     "inactivecaption",
                                                     "inactivecaptiontext",
                                                     "infobackground",
                                                     "infotext",
                                                     "menu",
                                                     "menutext",
                                                     "scrollbar",
                                                     "threeddarkshadow",
                                                     "threedface",
                                                     "threedhighlight",
                                                     "threedlightshadow",
                                                     "threedshadow",
                                                     "window",
                                                     "windowframe",
                                                     "windowtext",
                                                     "-webkit-link",
                                                     "-webkit-activelink",
                                                     "-webkit-focus-ring-color",
                                                     "-webkit-text"};

// A colour as read, alpha and all.
struct Reading {
    ColourProblem problem = ColourProblem::NotColour;
    SpaceColour colour{};
    double alpha = 1;
    bool plain = false;
    // The functions older than CSS Color 4 keep alpha in 8 bits where the colour is
    // used as it stands (not as an origin): 0.999 is opaque.
    bool byteAlpha = false;
};

Reading ReadTokens(Tokens tokens, int depth);

Reading Refused(ColourProblem problem) { return {problem, {}, 1, false}; }

// The origin's components in the function's space, by the names it gives them.
Channels RelativeChannels(const Reading& origin, const FunctionRow& row, Space space, bool linearP3) {
    const SpaceColour in = Convert(origin.colour, space);
    const bool xyz = space == Space::Xyz || space == Space::XyzD50 || space == Space::XyzD65;
    constexpr std::array<std::string_view, 3> kXyz{"x", "y", "z"};
    Channels channels;
    for (std::size_t k = 0; k < 3; ++k) {
        // A powerless hue keeps the value it was worked out as; "none" is 0.
        double v = origin.colour.space == space && in.missing[k] ? 0 : in.c[k];
        if (linearP3)
            v = SrgbDecode(v);
        channels.emplace_back(xyz ? kXyz[k] : row.channels[k], v * row.channelScale[k]);
    }
    channels.emplace_back("alpha", origin.alpha);
    return channels;
}

// A hue in degrees within 0..360. HSL and HWB go through a float, as in Chromium: a
// hue beyond its range is 0 there.
double Hue(double degrees, Space space) {
    if ((space == Space::Hsl || space == Space::Hwb) && !(std::abs(degrees) <= std::numeric_limits<float>::max()))
        return 0;
    return std::fmod(std::fmod(degrees, 360) + 360, 360);
}

Reading ReadFunction(const FunctionRow& row, Tokens inside, int depth) {
    Cursor c{inside};
    Reading out{ColourProblem::None, {row.space, {}, {}}, 1, false};
    bool linearP3 = false;
    const CssToken* t = c.Peek();
    const bool relative = t && t->kind == TokenKind::Ident && t->text == "from";
    Reading origin;
    if (relative) {
        ++c.at;
        t = c.Peek();
        if (!t)
            return Refused(ColourProblem::NotColour);
        const std::size_t from = c.at;
        c.at = t->kind == TokenKind::Function ? BlockEnd(c.tokens, from) : from + 1;
        origin = ReadTokens(c.tokens.subspan(from, c.at - from), depth + 1);
        if (origin.problem != ColourProblem::None)
            return Refused(origin.problem == ColourProblem::NotFixed ? origin.problem : ColourProblem::NotColour);
    }
    if (row.name == "color") {
        t = c.Peek();
        const auto known = t && t->kind == TokenKind::Ident
                               ? std::find_if(kColorSpaces.begin(), kColorSpaces.end(),
                                              [&](const auto& s) { return s.first == t->text; })
                               : kColorSpaces.end();
        if (known == kColorSpaces.end())
            return Refused(ColourProblem::NotColour);
        out.colour.space = known->second;
        linearP3 = known->first == "display-p3-linear";
        ++c.at;
    }
    const Channels channels = relative ? RelativeChannels(origin, row, out.colour.space, linearP3) : Channels{};

    std::array<Value, 3> values{};
    // A relative colour keeps its origin's alpha unless it gives one.
    Value alpha{relative ? origin.alpha : 1, Type::Number};
    bool legacy = false;
    for (std::size_t k = 0; k < 3; ++k) {
        if (k == 1)
            legacy = row.legacy && !relative && c.TakeComma();
        else if (k == 2 && legacy && !c.TakeComma())
            return Refused(ColourProblem::NotColour);
        const std::optional<Value> v = Component(c, channels);
        if (!v)
            return Refused(ColourProblem::NotColour);
        values[k] = *v;
    }
    if (legacy ? c.TakeComma() : c.TakeDelim('/')) {
        const std::optional<Value> v = Component(c, channels);
        if (!v || v->type == Type::Angle || (legacy && v->type == Type::None))
            return Refused(ColourProblem::NotColour);
        alpha = *v;
    }
    if (!c.AtEnd())
        return Refused(ColourProblem::NotColour);

    bool whole = row.space == Space::Srgb && row.name != "color";
    for (std::size_t k = 0; k < 3; ++k) {
        const Value& v = values[k];
        const ComponentRule& rule = row.rules[k];
        // The comma-separated form has no "none"; its rgb() is all numbers or all
        // percentages, and its hsl() takes percentages only.
        if (legacy && (v.type == Type::None || (row.space == Space::Srgb && v.type != values[0].type) ||
                       (row.space == Space::Hsl && k > 0 && v.type != Type::Percent)))
            return Refused(ColourProblem::NotColour);
        if (v.type == Type::None) {
            out.colour.missing[k] = true;
            whole = false;
            continue;
        }
        if (rule.hue ? v.type == Type::Percent : v.type == Type::Angle)
            return Refused(ColourProblem::NotColour);
        // Beyond a hue, a calculation's infinity paints as a float's largest does.
        constexpr double kMaxFloat = std::numeric_limits<float>::max();
        const double given = rule.hue ? v.value : std::clamp(v.value, -kMaxFloat, kMaxFloat);
        const double value = v.type == Type::Percent ? given * rule.percentScale : given * rule.numberScale;
        out.colour.c[k] = rule.hue ? Hue(value, row.space) : std::clamp(value, rule.low, rule.high);
        const double byte = out.colour.c[k] * 255;
        whole = whole && byte == std::round(byte);
    }
    out.plain = whole;
    const double a = alpha.type == Type::Percent ? alpha.value / 100 : alpha.value;
    out.alpha = alpha.type == Type::None ? 0 : std::clamp(a, 0.0, 1.0);
    out.byteAlpha = (row.legacy || row.name == "hwb") && !relative;
    if (linearP3) {
        for (double& v : out.colour.c)
            v = SrgbEncode(v);
        out.colour = Convert(out.colour, Space::SrgbLinear);
    }
    return out;
}

// "#RGB", "#RGBA", "#RRGGBB" or "#RRGGBBAA".
Reading ReadHash(std::string_view digits) {
    const std::size_t n = digits.size();
    if (n != 3 && n != 4 && n != 6 && n != 8)
        return Refused(ColourProblem::NotColour);
    const std::size_t per = n <= 4 ? 1 : 2;
    std::array<int, 4> channel{0, 0, 0, 255};
    for (std::size_t k = 0; k < n / per; ++k) {
        int value = 0;
        for (std::size_t d = 0; d < per; ++d) {
            const int digit = HexDigitValue(static_cast<unsigned char>(digits[k * per + d]));
            if (digit < 0)
                return Refused(ColourProblem::NotColour);
            value = value * 16 + digit;
        }
        channel[k] = per == 1 ? value * 17 : value;
    }
    const Rgb rgb{static_cast<Channel>(channel[0]), static_cast<Channel>(channel[1]), static_cast<Channel>(channel[2])};
    return {ColourProblem::None, FromRgb(rgb), channel[3] / 255.0, true};
}

Reading ReadTokens(Tokens tokens, int depth) {
    // An origin inside an origin inside ...: a few levels are plenty.
    Cursor c{tokens};
    const CssToken* t = c.Peek();
    if (!t || depth > 8)
        return Refused(ColourProblem::NotColour);
    const std::size_t at = c.at;
    c.at = t->kind == TokenKind::Function ? BlockEnd(tokens, at) : at + 1;
    if (!c.AtEnd())
        return Refused(ColourProblem::NotColour);
    if (t->kind == TokenKind::Ident) {
        if (t->text == "transparent")
            return {ColourProblem::None, FromRgb({}), 0, true};
        if (std::find(kNotFixed.begin(), kNotFixed.end(), t->text) != kNotFixed.end())
            return Refused(ColourProblem::NotFixed);
        if (const std::optional<Rgb> rgb = NamedColour(t->text))
            return {ColourProblem::None, FromRgb(*rgb), 1, true};
        return Refused(ColourProblem::NotColour);
    }
    if (t->kind == TokenKind::Hash)
        return ReadHash(t->text);
    if (t->kind == TokenKind::Function)
        for (const FunctionRow& row : kFunctions)
            if (t->text == row.name)
                return ReadFunction(row, Inside(tokens, at), depth);
    return Refused(ColourProblem::NotColour);
}

} // namespace

ColourRead ReadColour(std::string_view text) {
    // The window's "RRGGBB" without "#", which CSS would not take.
    if (const std::optional<Rgb> rgb = ReadColourText(Trim(text)))
        return {CssColour{FromRgb(*rgb), true}, ColourProblem::None};
    const std::vector<CssToken> tokens = CssTokens(text);
    const Reading read = ReadTokens(tokens, 0);
    if (read.problem != ColourProblem::None)
        return {std::nullopt, read.problem};
    if ((read.byteAlpha ? std::round(read.alpha * 255) / 255 : read.alpha) < 1)
        return {std::nullopt, ColourProblem::Translucent};
    // Components far out of range can make a conversion NaN: no colour then.
    const SpaceColour srgb = Convert(read.colour, Space::Srgb);
    if (!std::all_of(srgb.c.begin(), srgb.c.end(), [](double v) { return std::isfinite(v); }))
        return {std::nullopt, ColourProblem::NotColour};
    return {CssColour{read.colour, read.plain}, ColourProblem::None};
}

std::optional<CssColour> ReadCssColour(std::string_view text) { return ReadColour(text).colour; }

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

StopList ReadStopList(std::string_view text) {
    StopList list;
    std::vector<std::optional<double>> given;
    for (std::size_t from = 0; from <= text.size();) {
        if (list.rows.size() == kMaxStops) {
            list.problem = StopsProblem::TooMany;
            break;
        }
        // The next comma outside parentheses ends the stop.
        std::size_t end = from;
        for (int depth = 0; end < text.size() && (depth > 0 || text[end] != ','); ++end)
            depth += text[end] == '(' ? 1 : text[end] == ')' ? -1 : 0;
        StopRow row{Trim(text.substr(from, end - from)), {}, std::nullopt, std::nullopt};
        row.colour = row.text;
        bool readable = true;
        const std::size_t blank = row.text.find_last_of(" \t\n\r\f");
        if (row.text.ends_with('%') && blank != std::string_view::npos) {
            const std::vector<CssToken> tokens = CssTokens(row.text.substr(blank + 1));
            readable = tokens.size() == 1 && tokens[0].kind == TokenKind::Percentage;
            if (readable)
                row.position = tokens[0].value / 100;
            row.colour = Trim(row.text.substr(0, blank));
        }
        if (readable) {
            const ColourRead read = ReadColour(row.colour);
            row.read = read.colour;
            row.problem = read.problem;
        }
        if (!row.read && list.problem == StopsProblem::None) {
            list.problem = StopsProblem::NotStop;
            list.bad = list.rows.size();
        }
        given.push_back(row.position);
        list.rows.push_back(row);
        from = end + 1;
    }
    if (list.problem == StopsProblem::None && list.rows.size() < 2)
        list.problem = StopsProblem::OneColour;
    list.at = FixPositions(given);
    return list;
}

void UseStops(const StopList& list, Gradient& gradient) {
    gradient.stops.clear();
    gradient.exact.clear();
    gradient.positions.clear();
    const bool plain = std::all_of(list.rows.begin(), list.rows.end(), [](const StopRow& r) { return r.read->plain; });
    for (const StopRow& row : list.rows) {
        gradient.stops.push_back(ToRgb(row.read->colour));
        if (!plain)
            gradient.exact.push_back(row.read->colour);
    }
    // Positions that are the equal spacing anyway keep the exact integer rule.
    const double m = static_cast<double>(list.rows.size() - 1);
    bool even = true;
    for (std::size_t j = 0; j < list.rows.size(); ++j)
        even = even && list.at[j] == static_cast<double>(j) / m;
    if (!even)
        gradient.positions = list.at;
}

bool ReadStops(std::string_view text, Gradient& gradient, std::string_view& bad) {
    const StopList list = ReadStopList(text);
    bad = list.problem == StopsProblem::NotStop ? list.rows[list.bad].text : std::string_view();
    if (list.problem != StopsProblem::None)
        return false;
    UseStops(list, gradient);
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
