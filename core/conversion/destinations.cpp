#include "core/conversion/destinations.h"

#include "core/markup/formats.h"

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
     {"Simple Machines Forum 2.1", "Simple Machines Forum 2.1 论坛"},
     "bbcode",
     &kCodePoints,
     20000,
     std::nullopt,
     0xFFFFFF,
     "the setting max_messageLength in SMF's installation data (other/install_2-1_mysql.sql in SMF 2.1's source)"},
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
