#pragma once
// Forum engines' default limits: a post's length with its markup, and how often
// one tag may be used in it.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace velmorant {

struct ForumLimits {
    std::string_view name;
    std::uint64_t length;              // code points
    std::optional<std::uint64_t> tags; // uses of one tag, where the engine counts them
    std::string_view source;           // where the engine sets them, for the manual
};

std::span<const ForumLimits> Forums();
const ForumLimits* FindForum(std::string_view name);

} // namespace velmorant
