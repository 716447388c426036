#pragma once
// The three texts framing each coloured unit: Open, colour code, Middle, characters, Close.

#include <cstdint>
#include <optional>
#include <string>

namespace velmorant {

struct TagTemplate {
    std::u16string Open;
    std::u16string Middle;
    std::u16string Close;
    friend bool operator==(const TagTemplate&, const TagTemplate&) = default;
};

// The template the window starts with; the only one with a "#" before the code.
TagTemplate StartupTemplate();

// The preset of a dialect list entry: 0 HTML, 1 bulletin-board code, 2 QQ Space.
// No preset for any other index.
std::optional<TagTemplate> TemplateForDialect(std::int16_t listIndex);

} // namespace velmorant
