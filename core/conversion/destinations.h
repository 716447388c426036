#pragma once
// Where a code is posted: a forum, a game's chat, a chat program. Each row says
// which format the place reads, how it counts a post's length and what it
// allows, so that the code written for it shows there what was typed.

#include "core/markup/output_shape.h"
#include "core/text/length_rule.h"
#include "core/text/words.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmorant {

// A place that limits what a post shows rather than its code (a chat box's width).
inline constexpr std::uint64_t kNoLength = 0;

// Characters a place cannot show, and the one written instead of each: one
// char16 for one, so units, colours and the preview stay where they were.
struct Unshown {
    char16_t first, last; // the range refused
    char16_t written;
};

struct Destination {
    std::string_view name; // --to, the page's "Post to"
    Words caption, help;
    std::string_view format;                  // the Format row the place reads
    const LengthRule* count;                  // how the place counts a post
    std::uint64_t length;                     // its usual limit, in its own count; kNoLength: none
    std::optional<std::uint64_t> tagsPerName; // uses of any one tag name, where the place limits them
    std::uint32_t background;                 // 0xRRGGBB the place usually shows text on
    std::string_view source;                  // where the place reads, counts and limits, for the manual
    bool (*shows)(char32_t) = nullptr;        // the characters the place can show; null: every one
    std::span<const Unshown> unshown = {};    // what it cannot show, said whenever it is written
    bool asksGradient = false;                // reads MiniMessage's <gradient> tag: a fit may ask it for one
};

// The characters of text the place cannot show, each once, in order of first use.
std::u32string CharactersNotShown(const Destination& destination, std::u16string_view text);

std::span<const Destination> Destinations();
const Destination* FindDestination(std::string_view name);

// The row's format; every row names one that exists (checked by the tests).
const Format& FormatOf(const Destination& destination);

} // namespace velmorant
