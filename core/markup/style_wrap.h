#pragma once
// The style tags that convert puts around the whole gradient code, always as
// bulletin-board tags whatever the dialect: bold innermost, font outermost.
// Other formats spell them their own way (core/markup/formats.h).

#include <string>
#include <string_view>

namespace velmorant {

struct StyleOptions {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::u16string size; // no size tags when empty
    std::u16string font; // no font tags when empty
};

// What goes before and after the code. The tags never depend on the code, so a
// caller holding a large code can place them without copying it once more.
struct StyleTags {
    std::u16string before;
    std::u16string after;
    std::u16string eachUnit = {}; // after every colour code, where a code resets the styles
};
StyleTags StyleTagsFor(const StyleOptions& styles);

} // namespace velmorant
