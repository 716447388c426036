#include "core/markup/formats.h"

#include "core/markup/escaping.h"

#include <algorithm>
#include <iterator>

namespace velmorant {

namespace {

// The window's style tags: bulletin-board tags whatever the preset.
constexpr StyleSpelling kWindowBold{u"[B]", {}, u"[/B]"}, kWindowItalic{u"[i]", {}, u"[/i]"},
    kWindowUnderline{u"[u]", {}, u"[/u]"}, kWindowStrike{u"[strike]", {}, u"[/strike]"},
    kWindowSize{u"[size=", u"]", u"[/size]"}, kWindowFont{u"[font=", u"]", u"[/font]"};
constexpr StyleSpelling kNone{};

// One row per format; adding a format is adding a row here.
constexpr Format kFormats[] = {
    {"default",
     "the window's \"[color=#\" \"]\" \"[/color]\"",
     {"[color=#…] (start-up)", "[color=#…]（初始）"},
     {"[color=#RRGGBB]…[/color] round each unit: the code most forums read",
      "每段文字外加 [color=#RRGGBB]…[/color]：多数论坛都认"},
     true,
     u"[color=#",
     u"]",
     u"[/color]",
     CodeStyle::Hex,
     Escaping::None,
     0,
     false,
     false,
     kWindowBold,
     kWindowItalic,
     kWindowUnderline,
     kWindowStrike,
     kWindowSize,
     kWindowFont},
    {"html",
     "<font color=RRGGBB> tags",
     {"HTML <font>", "HTML <font>"},
     {{}, "<font color=RRGGBB> 标签：旧网页和论坛"},
     true,
     u"<font color=",
     u">",
     u"</font>",
     CodeStyle::Hex,
     Escaping::None,
     0,
     false,
     false,
     kWindowBold,
     kWindowItalic,
     kWindowUnderline,
     kWindowStrike,
     kWindowSize,
     kWindowFont},
    {"ubb",
     "[color=RRGGBB] tags",
     {"UBB [color=…]", "UBB [color=…]"},
     {{}, "[color=RRGGBB] 标签，不带 #：UBB 论坛"},
     true,
     u"[color=",
     u"]",
     u"[/color]",
     CodeStyle::Hex,
     Escaping::None,
     0,
     false,
     false,
     kWindowBold,
     kWindowItalic,
     kWindowUnderline,
     kWindowStrike,
     kWindowSize,
     kWindowFont},
    {"qq",
     "QQ Space [ftc=RRGGBB] tags",
     {"QQ Space [ftc=…]", "QQ 空间 [ftc=…]"},
     {{}, "QQ 空间的 [ftc=RRGGBB] 标签"},
     true,
     u"[ftc=",
     u"]",
     u"[/ft]",
     CodeStyle::Hex,
     Escaping::None,
     0,
     false,
     false,
     kWindowBold,
     kWindowItalic,
     kWindowUnderline,
     kWindowStrike,
     kWindowSize,
     kWindowFont},
    {"ansi",
     "24-bit terminal colours, to preview",
     {"Terminal colours", "终端颜色"},
     {{}, "24 位终端颜色，在终端里看效果"},
     true,
     u"\x1b[38;2;",
     u"m",
     u"\x1b[0m",
     CodeStyle::Decimal,
     Escaping::Terminal,
     0,
     false,
     false,
     kNone,
     kNone,
     kNone,
     kNone,
     kNone,
     kNone},
    {"span",
     "HTML5 <span style=\"color:#rrggbb\">, text escaped",
     {"HTML5 <span>", "HTML5 <span>"},
     {{}, "HTML5 <span style=\"color:#rrggbb\">，文字已转义：网页用"},
     false,
     u"<span style=\"color:#",
     u"\">",
     u"</span>",
     CodeStyle::HexLower,
     Escaping::Html,
     0,
     false,
     true,
     {u"<b>", {}, u"</b>"},
     {u"<i>", {}, u"</i>"},
     {u"<u>", {}, u"</u>"},
     {u"<s>", {}, u"</s>"},
     {u"<span style=\"font-size:", u"\">", u"</span>"},
     {u"<span style=\"font-family:", u"\">", u"</span>"}},
    {"bbcode",
     "[color=#rrggbb] for phpBB, MyBB, SMF, XenForo",
     {"BBCode [color=#…]", "BBCode [color=#…]"},
     {{}, "phpBB、MyBB、SMF、XenForo 用的 [color=#rrggbb]"},
     false,
     u"[color=#",
     u"]",
     u"[/color]",
     CodeStyle::HexLower,
     Escaping::BbCode,
     0,
     false,
     false,
     {u"[b]", {}, u"[/b]"},
     {u"[i]", {}, u"[/i]"},
     {u"[u]", {}, u"[/u]"},
     {u"[s]", {}, u"[/s]"},
     {u"[size=", u"]", u"[/size]"},
     {u"[font=", u"]", u"[/font]"}},
    {"minecraft",
     "&#RRGGBB before each unit (Minecraft plugins)",
     {"Minecraft &#RRGGBB", "Minecraft &#RRGGBB"},
     {{}, "每段前加 &#RRGGBB（Minecraft 插件）"},
     false,
     u"&#",
     {},
     {},
     CodeStyle::Hex,
     Escaping::Restate,
     u'&',
     true,
     false,
     {u"&l", {}, {}},
     {u"&o", {}, {}},
     {u"&n", {}, {}},
     {u"&m", {}, {}},
     kNone,
     kNone},
    {"minecraft-section",
     "\u00a7x\u00a7R\u00a7R\u00a7G\u00a7G\u00a7B\u00a7B before each unit",
     {"Minecraft §x", "Minecraft §x"},
     {{}, "每段前加 §x§R§R§G§G§B§B"},
     false,
     u"\u00a7x",
     {},
     {},
     CodeStyle::SectionDigits,
     Escaping::Restate,
     u'\u00a7',
     true,
     false,
     {u"\u00a7l", {}, {}},
     {u"\u00a7o", {}, {}},
     {u"\u00a7n", {}, {}},
     {u"\u00a7m", {}, {}},
     kNone,
     kNone},
    {"minimessage",
     "<#rrggbb> before each unit (MiniMessage)",
     {"MiniMessage <#…>", "MiniMessage <#…>"},
     {{}, "每段前加 <#rrggbb>（MiniMessage）"},
     false,
     u"<#",
     u">",
     {},
     CodeStyle::HexLower,
     Escaping::MiniMessage,
     0,
     false,
     false,
     {u"<b>", {}, u"</b>"},
     {u"<i>", {}, u"</i>"},
     {u"<u>", {}, u"</u>"},
     {u"<st>", {}, u"</st>"},
     kNone,
     kNone},
    {"terraria",
     "[c/rrggbb:text] round each unit (Terraria chat)",
     {"Terraria [c/…:…]", "Terraria [c/…:…]"},
     {{}, "每段外加 [c/rrggbb:…]（泰拉瑞亚聊天）"},
     false,
     u"[c/",
     u":",
     u"]",
     CodeStyle::HexLower,
     Escaping::TagText,
     0,
     false,
     false,
     kNone,
     kNone,
     kNone,
     kNone,
     kNone,
     kNone},
};

constexpr bool Named(std::size_t row, std::string_view name) { return kFormats[row].name == name; }
static_assert(Named(kDefaultFormat, "default") && Named(kHtmlFormat, "html") && Named(kUbbFormat, "ubb") &&
              Named(kQqFormat, "qq") && Named(kAnsiFormat, "ansi"));

} // namespace

std::span<const Format> Formats() { return kFormats; }

const Format* FindFormat(std::string_view name) {
    const auto row =
        std::find_if(std::begin(kFormats), std::end(kFormats), [&](const Format& f) { return f.name == name; });
    return row == std::end(kFormats) ? nullptr : &*row;
}

StyleTags StyleTagsFor(const StyleOptions& styles, const Format& format) {
    std::u16string_view size = styles.size;
    if (format.cssSize && size.size() == 1 && size[0] >= u'1' && size[0] <= u'7')
        size = kCssSizes[size[0] - u'1'];
    struct Wrapper {
        bool applies;
        const StyleSpelling& spelling;
        std::u16string_view value;
    };
    // Innermost first, as the wrappers are applied one after the other.
    Wrapper wrappers[] = {
        {styles.bold, format.bold, {}},
        {styles.italic, format.italic, {}},
        {styles.underline, format.underline, {}},
        {styles.strikethrough, format.strike, {}},
        {!styles.size.empty(), format.size, size},
        {!styles.font.empty(), format.font, styles.font},
    };
    // A value inside an attribute is escaped as the text is.
    std::u16string escapedSize, escapedFont;
    if (format.escaping == Escaping::Html) {
        TextEscaper escaper(MarkupForm{format.code, false, format.escaping});
        const auto escape = [&](std::u16string_view value, std::u16string& into) {
            escaper.Write(value, {}, [&](std::u16string_view piece) { into.append(piece); });
            return std::u16string_view(into);
        };
        wrappers[4].value = escape(wrappers[4].value, escapedSize);
        wrappers[5].value = escape(wrappers[5].value, escapedFont);
    }
    StyleTags tags;
    tags.before = format.prefix;
    std::u16string& before = format.stylesEachUnit ? tags.eachUnit : tags.before;
    for (auto w = std::rbegin(wrappers); w != std::rend(wrappers); ++w)
        if (w->applies && w->spelling.Available())
            before.append(w->spelling.open).append(w->value).append(w->spelling.valueEnd);
    for (const Wrapper& w : wrappers)
        if (w.applies && w.spelling.Available())
            tags.after.append(w.spelling.close);
    tags.after.append(format.suffix);
    return tags;
}

} // namespace velmorant
