#include "core/conversion/destinations.h"

#include "core/markup/formats.h"
#include "core/text/code_points.h"

#include <algorithm>
#include <iterator>

namespace velmorant {

namespace {

// One row per place; adding a place is adding a row here (and its format's row,
// if it reads one of its own).
constexpr Destination kDestinations[] = {
    {"phpbb",
     {"phpBB", "phpBB"},
     {"phpBB 3.3 forums", "phpBB 3.3 论坛"},
     "bbcode",
     &kCodePoints,
     60000,
     5000,
     0xFFFFFF,
     "the setting max_post_chars in phpBB's installation data (phpBB/install/schemas/schema_data.sql in phpBB's "
     "source); its parser, s9e\\TextFormatter, counts each tag's uses against its tagLimit default "
     "(src/Configurator/Items/Tag.php in s9e\\TextFormatter's source) and shows the ones past it as text"},
    {"smf",
     {"SMF", "SMF"},
     {"Simple Machines Forum 2.1: counts characters as posted (a line break 2), drops empty tags and tags round "
      "white space",
      "Simple Machines Forum 2.1 论坛：按提交的字符数计（换行算 2），会删掉空标签和只包着空白的标签"},
     "smf",
     &kPostedCodePoints,
     20000,
     std::nullopt,
     0xFDFDFD,
     "SMF 2.1: the setting max_messageLength (other/install_2-1_mysql.sql line 2062), checked by "
     "$smcFunc['strlen'] on the posted message (Sources/Post.php lines 2089-2090, Sources/Load.php lines 180-183); "
     "preparsecode() (Sources/Subs-Post.php lines 29-290) drops empty tags and [nobbc] keeps \"[\"; the tags "
     "read by parse_bbc() (Sources/Subs.php lines 1824-2420); the post background .windowbg "
     "(Themes/default/css/index.css line 2881)"},
    {"discuz",
     {"Discuz! (UTF-8)", "Discuz!（UTF-8 站）"},
     {"Discuz! X3.5 posts on a UTF-8 site: counted in bytes, a Chinese character 3",
      "Discuz! X3.5 UTF-8 站的帖子：按字节计，一个汉字 3 字节"},
     "discuz",
     &kPostedUtf8Bytes,
     10000,
     std::nullopt,
     0xFFFFFF,
     "Discuz! X3.5: checkpost() tests strlen($message) against the setting maxpostsize "
     "(source/function/function_post.php lines 378-385; install/data/install_data.sql line 419: 10000); "
     "discuzcode() reads the tags (source/function/function_discuzcode.php lines 106-176), dhtmlspecialchars() "
     "keeps \"&#N;\" (source/function/function_core.php lines 212-234)"},
    {"discuz-gbk",
     {"Discuz! (GBK)", "Discuz!（GBK 站）"},
     {"Discuz! X3.5 posts on a GBK site: counted in bytes, a Chinese character 2, one GBK lacks as \"&#N;\"",
      "Discuz! X3.5 GBK 站的帖子：按字节计，一个汉字 2 字节，GBK 没有的字按“&#N;”计"},
     "discuz",
     &kPostedGbkBytes,
     10000,
     std::nullopt,
     0xFFFFFF,
     "as discuz; the browser posts a GBK page's form in GBK, a character outside it as \"&#N;\" (the WHATWG "
     "Encoding Standard's gbk encoder), and strlen() counts those bytes; dhtmlspecialchars() then shows "
     "\"&#N;\" as that text",
     InGbk},
    {"discuz-signature",
     {"Discuz! signature", "Discuz! 个人签名"},
     {"A Discuz! X3.5 signature, cut silently at the group's limit (ASCII 1, other characters 2): 新手上路 80, "
      "注册会员 100 (this one), 中级会员 150, 高级会员 200, 金牌会员 300, 论坛元老 500; --fit N for another group",
      "Discuz! X3.5 个人签名，超过用户组上限会被悄悄截断（ASCII 算 1，其他字符算 2）：新手上路 80、注册会员 100"
      "（默认）、中级会员 150、高级会员 200、金牌会员 300、论坛元老 500；其他用户组用 --fit N"},
     "discuz",
     &kCutstrWidth,
     100,
     std::nullopt,
     0xFFFFFF,
     "Discuz! X3.5: cutstr($value, $_G['group']['maxsigsize'], '') (source/include/spacecp/spacecp_profile.php "
     "line 135; cutstr() in source/function/function_core.php lines 987-1042); maxsigsize per group "
     "(install/data/install_data.sql lines 843-848; groups 10-15 on lines 822-827)"},
    {"nga",
     {"NGA", "NGA"},
     {"NGA (bbs.nga.cn): 24 colour names and no hex codes", "NGA 论坛：只认 24 种颜色名，不认十六进制颜色"},
     "nga",
     &kPostedCodePoints,
     20000,
     std::nullopt,
     0xFFF8E7,
     "NGA publishes no source: its BBCode help pages (the editor's colour list of 24 names, [size=N%], "
     "[del]); the length limit and background are taken as typical, not from its code"},
    {"terraria",
     {"Terraria chat", "泰拉瑞亚聊天"},
     {"Terraria 1.4 chat: [c/rrggbb:…] tags, one line; the chat box holds what fits its width",
      "泰拉瑞亚 1.4 聊天：[c/rrggbb:…] 标签，只一行；聊天框按宽度容纳文字"},
     "terraria",
     &kCodePoints,
     kNoLength,
     std::nullopt,
     0x646464,
     "Terraria 1.4.4's chat, decompiled: ChatManager.ParseMessage and ChatManager.Regexes.Format "
     "(Terraria/UI/Chat/ChatManager.cs) read a tag as (?<!\\)\\[tag(/options)?:text(?<!\\)\\] with the "
     "text ending at the first ] not after a \\, and drop every CR; ColorTagHandler "
     "(Terraria/GameContent/UI/Chat/ColorTagHandler.cs) reads the options as hex; the chat box pastes one line "
     "(Main.PasteTextIn) and cuts what is typed to the screen's width less 330 pixels, measured on the text as "
     "shown (Main.DoUpdate_HandleChat), so no count of the code limits it; the box is grey, "
     "Color(100, 100, 100, 100) over the scene"},
    {"discord",
     {"Discord", "Discord"},
     {"A Discord message: one ```ansi code block, eight text colours, bold and underline; 2,000 characters",
      "Discord 消息：一个 ```ansi 代码块，八种文字颜色，可粗体、下划线；2000 字"},
     "discord",
     &kLfCodePoints,
     2000,
     std::nullopt,
     0x2B2D31,
     "Discord's client: its markdown takes a fenced block as ^```(([a-z0-9-]+?)\\n+)?\\n*([^]+?)\\n*``` (as "
     "brussell98/discord-markdown ports it, index.js lines 48-56), so a block ends at the first ```; in an ansi "
     "block it acts on SGR codes 0, 1 and 4, text colours 30-37 and backgrounds 40-47 (simonLeary42/daad, "
     "daad/discord_ansi_adapter.py lines 60-63), painting 30-37 as #4f545c, #dc322f, #859900, #b58900, #268bd2, "
     "#d33682, #2aa198 and white (its styles, read through the developer tools); a message holds 2,000 "
     "characters, counted by the API in code points (discord/discord-api-docs issue 1315) after the editor has "
     "made each line break one LF; the code block's background in the dark theme"},
};

} // namespace

std::span<const Destination> Destinations() { return kDestinations; }

const Destination* FindDestination(std::string_view name) {
    const auto row = std::find_if(std::begin(kDestinations), std::end(kDestinations),
                                  [&](const Destination& d) { return d.name == name; });
    return row == std::end(kDestinations) ? nullptr : &*row;
}

const Format& FormatOf(const Destination& destination) { return *FindFormat(destination.format); }

std::u32string CharactersNotShown(const Destination& destination, std::u16string_view text) {
    std::u32string missing;
    if (!destination.shows)
        return missing;
    for (std::size_t at = 0; at < text.size(); ++at) {
        char32_t c = text[at];
        if (at + 1 < text.size() && IsSurrogatePair(text[at], text[at + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[at + 1]) - 0xDC00);
            ++at;
        }
        if (!destination.shows(c) && missing.find(c) == std::u32string::npos)
            missing.push_back(c);
    }
    return missing;
}

} // namespace velmorant
