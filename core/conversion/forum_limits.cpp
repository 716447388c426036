#include "core/conversion/forum_limits.h"

namespace velmorant {

namespace {

// phpBB: max_post_chars 60000 in its installer's schema data, and its parser's
// (s9e TextFormatter) tagLimit of 5000 per tag. SMF: max_messageLength 20000.
constexpr ForumLimits kForums[] = {{"phpbb", 60000, 5000}, {"smf", 20000, std::nullopt}};

} // namespace

std::span<const ForumLimits> Forums() { return kForums; }

const ForumLimits* FindForum(std::string_view name) {
    for (const ForumLimits& forum : kForums)
        if (forum.name == name)
            return &forum;
    return nullptr;
}

} // namespace velmorant
