#pragma once
// The style tags that convert puts around the whole gradient code, always as
// bulletin-board tags whatever the dialect: bold innermost, font outermost.

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

std::u16string WrapInStyleTags(std::u16string_view code, const StyleOptions& styles);

} // namespace velmorant
