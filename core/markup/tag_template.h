#pragma once
// The three texts framing each coloured unit: Open, colour code, Middle, characters, Close.

#include <string>

namespace velmorant {

struct TagTemplate {
    std::u16string Open;
    std::u16string Middle;
    std::u16string Close;
    friend bool operator==(const TagTemplate&, const TagTemplate&) = default;
};

// What the code is written for. Startup is the window's own template, before any
// preset is picked; Ansi is a terminal: escapes with decimal codes, no style tags.
enum class Dialect { Startup, Html, Ubb, Qq, Ansi };

// The template of a dialect: "[color=#" "]" "[/color]" for Startup, the only one
// with a "#" before the code; the presets for Html, Ubb and Qq.
TagTemplate TemplateFor(Dialect dialect);

} // namespace velmorant
