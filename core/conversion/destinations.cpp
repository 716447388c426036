#include "core/conversion/destinations.h"

#include "core/markup/formats.h"

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
     {"Simple Machines Forum 2.1", "Simple Machines Forum 2.1 论坛"},
     "bbcode",
     &kCodePoints,
     20000,
     std::nullopt,
     0xFFFFFF,
     "the setting max_messageLength in SMF's installation data (other/install_2-1_mysql.sql in SMF 2.1's source)"},
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
     kJavaChatUnshown,
     true},
};

} // namespace

std::span<const Destination> Destinations() { return kDestinations; }

const Destination* FindDestination(std::string_view name) {
    const auto row = std::find_if(std::begin(kDestinations), std::end(kDestinations),
                                  [&](const Destination& d) { return d.name == name; });
    return row == std::end(kDestinations) ? nullptr : &*row;
}

const Format& FormatOf(const Destination& destination) { return *FindFormat(destination.format); }

} // namespace velmorant
