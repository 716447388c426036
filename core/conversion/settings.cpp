#include "core/conversion/settings.h"

#include "core/colour/colour_sets.h"
#include "core/colour/colour_text.h"
#include "core/colour/css_colour.h"
#include "core/colour/palettes.h"
#include "core/colour/spaces.h"
#include "core/conversion/destinations.h"
#include "core/text/utf8.h"

#include <algorithm>
#include <charconv>

namespace velmorant {

namespace {

using Refusal = std::optional<SettingProblem>;

// A message quotes the head of a long value, never a stop of megabytes.
std::u16string Head(std::u16string_view value) {
    constexpr std::size_t kHead = 40;
    if (value.size() <= kHead)
        return std::u16string(value);
    const std::size_t cut = value[kHead - 1] >= 0xD800 && value[kHead - 1] <= 0xDBFF ? kHead - 1 : kHead;
    return std::u16string(value.substr(0, cut)) + u"\u2026";
}

// The row's name is filled in by ApplySettings.
SettingProblem Refuse(std::string_view problem, std::u16string_view value) {
    return {"", std::string(problem), Head(value), std::nullopt};
}

// Why a colour text was refused, by name.
std::string_view ColourProblemName(ColourProblem problem, std::string_view otherwise) {
    switch (problem) {
    case ColourProblem::Translucent:
        return "not-opaque";
    case ColourProblem::NotFixed:
        return "not-fixed-colour";
    default:
        return otherwise;
    }
}

// Every name, blend and colour is ASCII; anything else is not one.
std::optional<std::string> Ascii(std::u16string_view value) {
    std::string ascii;
    for (const char16_t c : value) {
        if (c > 0x7F)
            return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    return ascii;
}

std::u16string Widened(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// --start and --end change one end of the stops, exact colour and all.
Refusal ApplyEnd(Settings& s, std::u16string_view value, bool start) {
    const std::optional<std::string> text = Ascii(value);
    const ColourRead read = text ? ReadColour(*text) : ColourRead{};
    if (!read.colour)
        return Refuse(ColourProblemName(read.problem, "not-colour"), value);
    Gradient& g = s.request.gradient;
    (start ? g.stops.front() : g.stops.back()) = ToRgb(read.colour->colour);
    // A colour beyond 8-bit sRGB keeps its exact value, so every stop needs one.
    if (!read.colour->plain && g.exact.empty())
        for (const Rgb& stop : g.stops)
            g.exact.push_back(FromRgb(stop));
    if (!g.exact.empty())
        (start ? g.exact.front() : g.exact.back()) = read.colour->colour;
    return std::nullopt;
}

// The filter follows the background and the target, whichever row came last;
// readable colours need a background, and white is the most usual one.
void SyncReadable(Settings& s) {
    ConversionRequest& r = s.request;
    r.gradient.readable.reset();
    if (r.readable)
        r.gradient.readable = ReadableFilter{r.background.value_or(Rgb{255, 255, 255}), TargetOf(r)};
}

Refusal ApplyText(std::u16string& into, std::u16string_view value) {
    into = value;
    return std::nullopt;
}

// The terminal's escapes are no template to edit: its texts stay.
Refusal ApplyTemplateText(Settings& s, std::u16string TagTemplate::*text, std::u16string_view value) {
    if (s.request.format->escaping != Escaping::Terminal)
        s.request.tags.*text = value;
    return std::nullopt;
}

Refusal ApplyFlag(bool& into, std::u16string_view value) {
    if (value == u"1" || value == u"true")
        into = true;
    else if (value == u"0" || value == u"false")
        into = false;
    else
        return Refuse("not-flag", value);
    return std::nullopt;
}

// Empty for none.
Refusal ApplyLimit(std::optional<std::uint64_t>& into, std::u16string_view value) {
    if (value.empty()) {
        into.reset();
        return std::nullopt;
    }
    const std::optional<std::string> text = Ascii(value);
    std::uint64_t count = 0;
    if (!text)
        return Refuse("not-number", value);
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), count);
    if (error != std::errc{} || end != text->data() + text->size())
        return Refuse("not-number", value);
    into = count;
    return std::nullopt;
}

std::u16string FlagText(bool on) { return on ? u"1" : u"0"; }
std::u16string LimitText(const std::optional<std::uint64_t>& limit) {
    return limit ? Widened(std::to_string(*limit)) : u"";
}

// The stops as --colours takes them back, in 8-bit codes.
std::u16string StopsText(const Gradient& g) {
    std::u16string text;
    for (std::size_t i = 0; i < g.stops.size(); ++i) {
        text += (i ? u"," : u"") + ColourCode(g.stops[i]);
        if (!g.positions.empty()) {
            char percent[32];
            const auto end = std::to_chars(percent, percent + sizeof percent, g.positions[i] * 100).ptr;
            text += u" " + Widened(std::string_view(percent, static_cast<std::size_t>(end - percent))) + u"%";
        }
    }
    return text;
}

// A style that is on or off, such as bold.
template <bool StyleOptions::*Style> constexpr Setting StyleFlag(std::string_view name, Words caption, Words help) {
    return {name,
            SettingKind::Flag,
            SettingGroup::Styles,
            "",
            "",
            caption,
            help,
            [](Settings& s, std::u16string_view v) { return ApplyFlag(s.request.styles.*Style, v); },
            [](const Settings& s) { return FlagText(s.request.styles.*Style); }};
}

constexpr Setting kRows[] = {
    {"palette",
     SettingKind::List,
     SettingGroup::Colours,
     "palettes",
     "NAME",
     {"Palette", "调色板"},
     {"a named gradient and its blend, none when empty", "带混合方式的命名渐变，为空时不用"},
     [](Settings& s, std::u16string_view v) -> Refusal {
         const std::optional<std::string> name = Ascii(v);
         if (v.empty())
             return std::nullopt;
         if (!name || !ApplyPalette(*name, s.request.gradient))
             return Refuse("not-in-list", v);
         return std::nullopt;
     },
     [](const Settings&) { return std::u16string(); }},
    {"colours",
     SettingKind::Stops,
     SettingGroup::Colours,
     "",
     "C1,C2,...",
     {"Colours", "颜色"},
     {"two or more colours, each any opaque CSS colour with an optional position: 'red, blue 30%, lime'; "
      "of n units, unit i takes the colour at i/n of the way, so the last is the end colour",
      "两种或更多颜色，每种可为任意不透明的 CSS 颜色并可带位置：'red, blue 30%, lime'；"
      "n 个单位中第 i 个取 i/n 处的颜色，最后一个就是结束色"},
     // The problem's value is the stop at fault, and its index which one it is.
     // None given (blank) keeps the gradient of start and end.
     [](Settings& s, std::u16string_view v) -> Refusal {
         const std::optional<std::string> text = Ascii(v);
         if (!text)
             return Refuse("not-stop", v);
         if (text->find_first_not_of(" \t") == std::string::npos)
             return std::nullopt;
         const StopList list = ReadStopList(*text);
         switch (list.problem) {
         case StopsProblem::None:
             UseStops(list, s.request.gradient);
             return std::nullopt;
         case StopsProblem::OneColour:
             return Refuse("one-colour", v);
         case StopsProblem::TooMany:
             return Refuse("too-many-stops", v.substr(0, 40));
         case StopsProblem::NotStop:
             break;
         }
         const StopRow& bad = list.rows[list.bad];
         SettingProblem problem =
             Refuse(ColourProblemName(bad.read ? ColourProblem::None : bad.problem, "not-stop"), Widened(bad.text));
         problem.stop = static_cast<std::int32_t>(list.bad);
         return problem;
     },
     [](const Settings& s) { return StopsText(s.request.gradient); }},
    {"start",
     SettingKind::Colour,
     SettingGroup::Colours,
     "",
     "COLOUR",
     {"Start", "起始色"},
     {"start colour, any opaque CSS colour", "起始颜色，任意不透明的 CSS 颜色"},
     [](Settings& s, std::u16string_view v) { return ApplyEnd(s, v, true); },
     [](const Settings& s) { return ColourCode(s.request.gradient.stops.front()); }},
    {"end",
     SettingKind::Colour,
     SettingGroup::Colours,
     "",
     "COLOUR",
     {"End", "结束色"},
     {"end colour, any opaque CSS colour", "结束颜色，任意不透明的 CSS 颜色"},
     [](Settings& s, std::u16string_view v) { return ApplyEnd(s, v, false); },
     [](const Settings& s) { return ColourCode(s.request.gradient.stops.back()); }},
    {"blend",
     SettingKind::Blend,
     SettingGroup::Colours,
     "",
     "MODE",
     {"Blend", "混合"},
     {"how colours mix", "颜色如何混合"},
     [](Settings& s, std::u16string_view v) -> Refusal {
         const std::optional<std::string> text = Ascii(v);
         const std::optional<Blend> blend = text ? ReadBlend(*text) : std::nullopt;
         if (!blend)
             return Refuse("not-blend", v);
         s.request.gradient.blend = *blend;
         return std::nullopt;
     },
     [](const Settings& s) { return Widened(BlendText(s.request.gradient.blend)); }},
    {"format",
     SettingKind::List,
     SettingGroup::Code,
     "formats",
     "NAME",
     {"Format", "格式"},
     {"the format written or read", "写出或读回的格式"},
     [](Settings& s, std::u16string_view v) -> Refusal {
         const std::optional<std::string> name = Ascii(v);
         const Format* format = name ? FindFormat(*name) : nullptr;
         if (!format)
             return Refuse("not-in-list", v);
         s.request.format = format;
         s.request.tags = format->Template();
         return std::nullopt;
     },
     [](const Settings& s) { return Widened(s.request.format->name); }},
    {"to",
     SettingKind::List,
     SettingGroup::Code,
     "destinations",
     "PLACE",
     {"Post to", "发到"},
     {"the place the code is posted to: its format, its count and its limits as --fit and --max-tags",
      "代码要发到的地方：用它的格式、它的计数方式和它的上限作为 --fit 和 --max-tags"},
     // After the format, which it overrides, and before the texts that edit its template.
     [](Settings& s, std::u16string_view v) -> Refusal {
         if (v.empty()) {
             s.request.destination = nullptr;
             s.request.graphemes = s.request.endStops = false;
             return std::nullopt;
         }
         const std::optional<std::string> name = Ascii(v);
         const Destination* destination = name ? FindDestination(*name) : nullptr;
         if (!destination)
             return Refuse("not-in-list", v);
         s.request.destination = destination;
         // A place's readers see characters, not code points, and expect the ends they picked.
         s.request.graphemes = s.request.endStops = true;
         // The place's usual background, unless --background (a later row) says another.
         s.request.background = UnpackRgb(destination->background);
         s.request.format = &FormatOf(*destination);
         s.request.tags = s.request.format->Template();
         return std::nullopt;
     },
     [](const Settings& s) { return s.request.destination ? Widened(s.request.destination->name) : u""; }},
    {"open",
     SettingKind::Text,
     SettingGroup::Code,
     "",
     "TEXT",
     {"Open", "开头"},
     {"text before each colour code", "每个颜色代码前的文字"},
     [](Settings& s, std::u16string_view v) { return ApplyTemplateText(s, &TagTemplate::Open, v); },
     [](const Settings& s) { return s.request.tags.Open; }},
    {"middle",
     SettingKind::Text,
     SettingGroup::Code,
     "",
     "TEXT",
     {"Middle", "中间"},
     {"text between colour code and characters", "颜色代码与字符之间的文字"},
     [](Settings& s, std::u16string_view v) { return ApplyTemplateText(s, &TagTemplate::Middle, v); },
     [](const Settings& s) { return s.request.tags.Middle; }},
    {"close",
     SettingKind::Text,
     SettingGroup::Code,
     "",
     "TEXT",
     {"Close", "结尾"},
     {"text after the characters", "字符之后的文字"},
     [](Settings& s, std::u16string_view v) { return ApplyTemplateText(s, &TagTemplate::Close, v); },
     [](const Settings& s) { return s.request.tags.Close; }},
    {"step",
     SettingKind::Step,
     SettingGroup::Code,
     "",
     "TEXT",
     {"Step", "步长"},
     {"characters per colour", "每种颜色的字符数"},
     [](Settings& s, std::u16string_view v) { return ApplyText(s.request.step, v); },
     [](const Settings& s) { return s.request.step; }},
    {"merge",
     SettingKind::Flag,
     SettingGroup::Code,
     "",
     "",
     {"Merge", "合并"},
     {"one tag for neighbouring characters of one colour", "相邻同色字符共用一个标签"},
     [](Settings& s, std::u16string_view v) { return ApplyFlag(s.request.merge, v); },
     [](const Settings& s) { return FlagText(s.request.merge); }},
    {"fit",
     SettingKind::Limit,
     SettingGroup::Code,
     "",
     "LIMIT",
     {"Length limit", "长度上限"},
     {"smallest step whose code is at most LIMIT characters", "代码不超过 LIMIT 个字符的最小步长"},
     [](Settings& s, std::u16string_view v) { return ApplyLimit(s.fit, v); },
     [](const Settings& s) { return LimitText(s.fit); }},
    {"max-tags",
     SettingKind::Limit,
     SettingGroup::Code,
     "",
     "N",
     {"Tag limit", "标签上限"},
     {"at most N colour tags: with --fit, the step fits both", "至多 N 个颜色标签：与 --fit 同用时步长同时满足两者"},
     [](Settings& s, std::u16string_view v) { return ApplyLimit(s.maxTags, v); },
     [](const Settings& s) { return LimitText(s.maxTags); }},
    StyleFlag<&StyleOptions::bold>("bold", {"Bold", "粗体"}, {"bold around the code", "整段代码加粗"}),
    StyleFlag<&StyleOptions::italic>("italic", {"Italic", "斜体"}, {"italic around the code", "整段代码斜体"}),
    StyleFlag<&StyleOptions::underline>("underline", {"Underline", "下划线"},
                                        {"underline around the code", "整段代码加下划线"}),
    StyleFlag<&StyleOptions::strikethrough>("strike", {"Strike", "删除线"},
                                            {"strike through around the code", "整段代码加删除线"}),
    {"size",
     SettingKind::List,
     SettingGroup::Styles,
     "sizes",
     "TEXT",
     {"Size", "字号"},
     {"size tag text, none when empty", "字号标签的文字，为空时不加"},
     [](Settings& s, std::u16string_view v) { return ApplyText(s.request.styles.size, v); },
     [](const Settings& s) { return s.request.styles.size; }},
    {"font",
     SettingKind::List,
     SettingGroup::Styles,
     "fonts",
     "TEXT",
     {"Font", "字体"},
     {"font tag text, none when empty", "字体标签的文字，为空时不加"},
     [](Settings& s, std::u16string_view v) { return ApplyText(s.request.styles.font, v); },
     [](const Settings& s) { return s.request.styles.font; }},
    // Last, after the styles: large text has a lower target.
    {"background",
     SettingKind::Colour,
     SettingGroup::Colours,
     "",
     "COLOUR",
     {"Background", "背景色"},
     {"what the code is read on, for the contrast figures; none when empty",
      "代码显示处的背景色，用于对比度；为空时不计算"},
     [](Settings& s, std::u16string_view v) -> Refusal {
         const std::optional<std::string> text = Ascii(v);
         if (v.empty()) {
             s.request.background.reset();
         } else {
             const ColourRead read = text ? ReadColour(*text) : ColourRead{};
             if (!read.colour)
                 return Refuse(ColourProblemName(read.problem, "not-colour"), v);
             s.request.background = ToRgb(read.colour->colour);
         }
         SyncReadable(s);
         return std::nullopt;
     },
     [](const Settings& s) { return s.request.background ? ColourCode(*s.request.background) : u""; }},
    {"readable",
     SettingKind::List,
     SettingGroup::Colours,
     "goals",
     "GOAL",
     {"Readable", "易读"},
     {"move each unit's lightness by the least that reaches GOAL on the background: aa (4.5:1, 3:1 for large "
      "text), aaa (7:1, 4.5:1) or apca-Lc; none when empty",
      "把每个单元的亮度移动最少的量，使其在背景上达到 GOAL：aa（4.5:1，大字 3:1）、aaa（7:1，4.5:1）或 "
      "apca-Lc；为空时不调整"},
     [](Settings& s, std::u16string_view v) -> Refusal {
         const std::optional<std::string> text = Ascii(v);
         if (v.empty()) {
             s.request.readable.reset();
         } else {
             const std::optional<ReadableGoal> goal = text ? ReadReadableGoal(*text) : std::nullopt;
             if (!goal)
                 return Refuse("not-in-list", v);
             s.request.readable = goal;
         }
         SyncReadable(s);
         return std::nullopt;
     },
     [](const Settings& s) { return s.request.readable ? Widened(ReadableGoalText(*s.request.readable)) : u""; }},
};

} // namespace

std::span<const Setting> SettingRows() { return kRows; }

const Setting* FindSetting(std::string_view name) {
    // Names stored or typed before the rows were renamed.
    if (name == "forum")
        name = "to";
    for (const Setting& row : kRows)
        if (row.name == name)
            return &row;
    return nullptr;
}

std::u16string StartupText(const Setting& setting) { return setting.read(Settings{}); }

std::optional<std::uint64_t> LengthLimit(const Settings& settings) {
    if (settings.fit || !settings.request.destination || settings.request.destination->length == kNoLength)
        return settings.fit;
    return settings.request.destination->length;
}

std::optional<std::uint64_t> TagLimit(const Settings& settings) {
    if (settings.maxTags || !settings.request.destination)
        return settings.maxTags;
    return settings.request.destination->tagsPerName;
}

std::vector<SettingProblem> ApplySettings(Settings& settings, std::span<const SettingValue> values) {
    std::vector<const SettingValue*> order;
    for (const SettingValue& value : values)
        order.push_back(&value);
    std::stable_sort(order.begin(), order.end(),
                     [](const SettingValue* a, const SettingValue* b) { return a->setting < b->setting; });
    std::vector<SettingProblem> problems;
    for (const SettingValue* value : order) {
        if (std::optional<SettingProblem> problem = value->setting->apply(settings, value->value)) {
            problem->setting = value->setting->name;
            problems.push_back(std::move(*problem));
        }
    }
    return problems;
}

std::vector<SettingProblem> ApplySettings(Settings& settings, std::u16string_view lines) {
    std::vector<SettingValue> values;
    std::vector<SettingProblem> problems;
    while (!lines.empty()) {
        const std::size_t end = std::min(lines.find(u'\n'), lines.size());
        std::u16string_view line = lines.substr(0, end);
        lines.remove_prefix(std::min(end + 1, lines.size()));
        if (line.ends_with(u'\r'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        const std::size_t equals = line.find(u'=');
        const std::u16string_view name = line.substr(0, equals);
        const std::optional<std::string> ascii = Ascii(name);
        const Setting* row = ascii ? FindSetting(*ascii) : nullptr;
        if (equals == std::u16string_view::npos)
            problems.push_back({EncodeUtf8(Head(name)), "no-equals", Head(line), std::nullopt});
        else if (!row)
            problems.push_back(
                {EncodeUtf8(Head(name)), "unknown-setting", Head(line.substr(equals + 1)), std::nullopt});
        else if (line.size() - equals - 1 > kMaxSettingLength)
            problems.push_back(
                {EncodeUtf8(name), "too-long", std::u16string(line.substr(equals + 1, 40)), std::nullopt});
        else
            values.push_back({row, std::u16string(line.substr(equals + 1))});
    }
    std::vector<SettingProblem> applied = ApplySettings(settings, values);
    problems.insert(problems.end(), applied.begin(), applied.end());
    return problems;
}

std::string SettingProblemText(const SettingProblem& p, std::string (*quote)(std::string_view)) {
    const std::string utf8 = EncodeUtf8(p.value);
    const std::string value = quote ? quote(utf8) : "'" + utf8 + "'";
    const Setting* row = FindSetting(p.setting);
    const std::string_view list = row ? row->list : "";
    if (p.problem == "not-colour")
        return value + " is not a colour (RRGGBB, #RGB, a CSS name, or rgb(), oklch() and the like)";
    if (p.problem == "not-opaque")
        return value + " is see-through: forum colours are opaque, so give it without alpha";
    if (p.problem == "not-fixed-colour")
        return value + " names no colour of its own here (currentcolor and system colours change with the page)";
    if (p.problem == "one-colour")
        return "needs at least two colours, separated by commas";
    if (p.problem == "not-stop")
        return value + " is not a colour with an optional position (such as 'blue 30%')";
    if (p.problem == "not-blend")
        return "unknown blend " + value + " (such as srgb, oklab or 'oklch longer hue')";
    if (p.problem == "not-in-list")
        return "unknown " + std::string(list.substr(0, list.size() - 1)) + " " + value +
               " (see --list=" + std::string(list) + ")";
    if (p.problem == "not-number")
        return value + " is not a number (a whole number, 0 or more)";
    if (p.problem == "not-flag")
        return value + " is neither 1 nor 0";
    if (p.problem == "too-many-stops")
        return value + "... has more than " + std::to_string(kMaxStops) + " colours";
    if (p.problem == "too-long")
        return value + "... is longer than " + std::to_string(kMaxSettingLength) + " characters";
    if (p.problem == "no-equals")
        return value + " is not name=value";
    return "no setting " + (quote ? quote(p.setting) : "'" + p.setting + "'") + " (see --list=settings)";
}

std::string_view SettingKindName(SettingKind kind) {
    constexpr std::string_view names[] = {"colour", "stops", "blend", "list", "text", "step", "limit", "flag"};
    return names[static_cast<std::size_t>(kind)];
}

std::string_view SettingGroupName(SettingGroup group) {
    constexpr std::string_view names[] = {"colours", "code", "styles"};
    return names[static_cast<std::size_t>(group)];
}

} // namespace velmorant
