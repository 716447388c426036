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
     {"Simple Machines Forum 2.1", "Simple Machines Forum 2.1 论坛"},
     "bbcode",
     &kCodePoints,
     20000,
     std::nullopt,
     0xFFFFFF,
     "the setting max_messageLength in SMF's installation data (other/install_2-1_mysql.sql in SMF 2.1's source)"},
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
