#include "core/conversion/destinations.h"

#include "core/markup/formats.h"
#include "core/text/code_points.h"

#include <algorithm>
#include <iterator>

namespace velmorant {

namespace {

// Java chat's client sends no section sign and no control character
// (StringHelper.isValidChar); a line break or tab reads best as a blank that
// no trimming takes away, the rest as the replacement character.
constexpr Unshown kJavaChatUnshown[] = {
    {u'\t', u'\n', u'\u00a0'},     {u'\r', u'\r', u'\u00a0'},         {0, u'\x1f', u'\ufffd'},
    {u'\x7f', u'\x7f', u'\ufffd'}, {u'\u00a7', u'\u00a7', u'\ufffd'},
};
// A legacy reader takes every section sign with the character after it for a code.
constexpr Unshown kSectionUnshown[] = {{u'\u00a7', u'\u00a7', u'\ufffd'}};

// One row per place; adding a place is adding a row here (and its format's row,
// if it reads one of its own).
constexpr Destination kDestinations[] = {
    {"phpbb",
     {"phpBB", "phpBB"},
     {"phpBB 3.3 forums: [size=N] in %, no [font] or [s]; a post counted after HTML escaping (& as 5), "
      "at most 60,000, and 5,000 uses of any one tag",
      "phpBB 3.3 论坛：[size=N] 按百分比，没有 [font] 和 [s]；按 HTML 转义后计字（& 算 5 个），"
      "最多 60,000 字，每种标签最多 5,000 个"},
     "phpbb",
     &kPhpbbLength,
     60000,
     5000,
     0xFFFFFF,
     "phpBB 3.3: phpBB/phpbb/request/type_cast_helper.php lines 39-50 (CR LF to LF, NUL and U+FEFF dropped, "
     "htmlspecialchars, NFC), phpBB/includes/message_parser.php lines 1156-1163 (utf8_strlen against "
     "max_post_chars), phpBB/install/schemas/schema_data.sql lines 225-226 (max_post_chars 60000, "
     "max_post_font_size 200), phpBB/phpbb/textformatter/s9e/factory.php lines 76-105 and 115 (the default tags; "
     "[size] as a percentage); s9e\\TextFormatter: src/Plugins/BBCodes/Configurator.php line 72 (where a tag "
     "starts), src/Configurator/Items/Tag.php line 62 and src/Parser.php lines 1419-1431 (5,000 uses of a tag, "
     "those past it shown as text)"},
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
    {"minecraft-essentials",
     {"Minecraft chat, EssentialsX", "Minecraft 聊天（EssentialsX）"},
     {"Minecraft Java chat through EssentialsX, &#RRGGBB; --fit 384 for a sign line, 1024 for a book page, 50 for "
      "an anvil name",
      "经 EssentialsX 的 Minecraft Java 版聊天，&#RRGGBB；告示牌一行用 --fit 384，书一页 1024，铁砧改名 50"},
     "minecraft-essentials",
     &kChar16s,
     256,
     std::nullopt,
     0x404040,
     "EssentialsX 2.21, Essentials/src/main/java/com/earth2me/essentials/utils/FormatUtil.java lines 23-24 and "
     "92-131 (&X and &#RRGGBB codes, a leading & escapes them, legacy codes read before hex ones)"
     "; Java chat holds 256 UTF-16 units (BungeeCord's protocol/src/main/java/net/md_5/bungee/protocol/packet/"
     "ClientChat.java line 33, DefinedPacket.java lines 142-158: String.length(); the game's ChatMessageC2SPacket "
     "cuts and refuses longer) and the client sends no section sign or control character "
     "(StringHelper.isValidChar)",
     nullptr,
     kJavaChatUnshown},
    {"minecraft-spigot",
     {"Minecraft chat, §x codes", "Minecraft 聊天（§x 代码）"},
     {"Minecraft Java chat, §x§R§R§G§G§B§B as Spigot and BungeeCord read it; --fit 384 for a sign line, 1024 for a "
      "book page, 50 for an anvil name",
      "Minecraft Java 版聊天，Spigot、BungeeCord 读的 §x§R§R§G§G§B§B；告示牌一行用 --fit 384，书一页 1024，铁砧改名 "
      "50"},
     "minecraft-section",
     &kChar16s,
     256,
     std::nullopt,
     0x404040,
     "BungeeCord's chat/src/main/java/net/md_5/bungee/api/chat/TextComponent.java lines 93-206 "
     "(fromLegacyText: a section sign takes the character after it, §x the twelve after that, a colour code "
     "starts a new component without the styles)"
     "; Java chat holds 256 UTF-16 units (BungeeCord's protocol/src/main/java/net/md_5/bungee/protocol/packet/"
     "ClientChat.java line 33, DefinedPacket.java lines 142-158: String.length(); the game's ChatMessageC2SPacket "
     "cuts and refuses longer) and the client sends no section sign or control character "
     "(StringHelper.isValidChar)",
     nullptr,
     kSectionUnshown},
    {"minecraft-minimessage",
     {"Minecraft chat, MiniMessage", "Minecraft 聊天（MiniMessage）"},
     {"Minecraft Java chat through MiniMessage (Paper), <#rrggbb>; --fit 384 for a sign line, 1024 for a book page, "
      "50 for an anvil name",
      "经 MiniMessage（Paper）的 Minecraft Java 版聊天，<#rrggbb>；告示牌一行用 --fit 384，书一页 1024，铁砧改名 50"},
     "minimessage",
     &kChar16s,
     256,
     std::nullopt,
     0x404040,
     "Adventure 4.17, text-minimessage/src/main/java/net/kyori/adventure/text/minimessage/internal/parser/"
     "TokenParser.java lines 150-287 (a backslash escapes < and itself; a section sign before a code letter "
     "refuses the whole message); its <gradient> tag colours each code point in turn, "
     "tag/standard/GradientTag.java lines 108-133 and AbstractColorChangingTag.java lines 96-139, mixing "
     "neighbouring stops per sRGB channel and rounding (api/.../format/TextColor.java lines 265-278)"
     "; Java chat holds 256 UTF-16 units (BungeeCord's protocol/src/main/java/net/md_5/bungee/protocol/packet/"
     "ClientChat.java line 33, DefinedPacket.java lines 142-158: String.length(); the game's ChatMessageC2SPacket "
     "cuts and refuses longer) and the client sends no section sign or control character "
     "(StringHelper.isValidChar)",
     nullptr,
     kJavaChatUnshown,
     true},
    {"minecraft-bedrock",
     {"Minecraft Bedrock chat", "Minecraft 基岩版聊天"},
     {"Minecraft Bedrock chat, § codes with the nearest of its own colours (it takes no hex codes)",
      "Minecraft 基岩版聊天，§ 代码取它自己那些颜色中最近的一种（不认十六进制）"},
     "minecraft-bedrock",
     &kCodePoints,
     512,
     std::nullopt,
     0x404040,
     "PocketMine-MP, src/utils/TextFormat.php (the codes §0-§v: the sixteen colours, minecoin gold and the "
     "materials, bold §l, italic §o, reset §r; tokenize() and toHTML(): a style stays on past a colour code, "
     "and the colours drawn); src/player/Player.php (MAX_CHAT_CHAR_LENGTH, 512 code points by mb_strlen); "
     "Bedrock has no escape, so a typed section sign would start a code",
     nullptr,
     kSectionUnshown},
    {"mybb",
     {"MyBB", "MyBB"},
     {"MyBB 1.8 forums: sizes by name, fonts with ASCII names; a post counted in UTF-8 bytes, at most 65,535",
      "MyBB 1.8 论坛：字号用名称，字体名只能是 ASCII；按 UTF-8 字节计长，最多 65,535 字节"},
     "mybb",
     &kPostedUtf8Bytes,
     65535,
     std::nullopt,
     0xFFFFFF,
     "MyBB 1.8.37: inc/datahandlers/post.php lines 245-262 (trim_blank_chrs, then strlen against "
     "maxmessagelength), install/resources/settings.xml line 1326 (maxmessagelength 65535), inc/class_parser.php "
     "lines 156 (CR dropped), 300-306 (& escaped unless \"&#digits;\"), 321-416 (the default MyCodes: [size] by "
     "CSS name or 1-50 pt, [font] names of [a-z0-9 ,-_'\"]), 343-350 ((c), (tm), (r)), 213-214 (/me, /slap)"},
    {"xenforo",
     {"XenForo", "XenForo"},
     {"XenForo 2 forums: [size=1] to [size=7]; a post counted in characters, a line break as one, at most 10,000",
      "XenForo 2 论坛：[size=1] 到 [size=7]；按字符计长，换行算 1 个，最多 10,000 字"},
     "xenforo",
     &kLfCodePoints,
     10000,
     std::nullopt,
     0xFFFFFF,
     "XenForo 2, from its documentation only (its source is not published): the BB code help page "
     "(help/bb-codes: [B], [I], [U], [S], [COLOR], [FONT], [SIZE=1-7], [PLAIN], ...) and the option "
     "Messages > Maximum message length (messageMaxLength, 10,000 characters by default)"},
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
