#include "core/conversion/forum_limits.h"

namespace velmorant {

namespace {

constexpr ForumLimits kForums[] = {
    {"phpbb", 60000, 5000,
     "the setting max_post_chars in phpBB's installation data (phpBB/install/schemas/schema_data.sql in phpBB's "
     "source); its parser, s9e\\TextFormatter, counts each tag's uses against its tagLimit default "
     "(src/Configurator/Items/Tag.php in s9e\\TextFormatter's source) and shows the ones past it as text"},
    {"smf", 20000, std::nullopt,
     "the setting max_messageLength in SMF's installation data (other/install_2-1_mysql.sql in SMF 2.1's source)"},
};

} // namespace

std::span<const ForumLimits> Forums() { return kForums; }

const ForumLimits* FindForum(std::string_view name) {
    for (const ForumLimits& forum : kForums)
        if (forum.name == name)
            return &forum;
    return nullptr;
}

} // namespace velmorant
