#pragma once
// Every format the code can be written in, one row each (core/markup/formats.cpp).
// The window's formats are rows too.

#include "core/markup/output_shape.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace velmorant {

// Every row, the window's formats first.
std::span<const Format> Formats();

// The rows code names by themselves: the window's own start-up template
// ("[color=#" "]" "[/color]", the only one with a "#" before the code), its
// presets, and a terminal's escapes with decimal codes and no style tags.
// formats.cpp checks each against its row's name.
inline constexpr std::size_t kDefaultFormat = 0, kHtmlFormat = 1, kUbbFormat = 2, kQqFormat = 3, kAnsiFormat = 4;

// The row of a name, or null.
const Format* FindFormat(std::string_view name);

// The template of a row.
inline TagTemplate TemplateFor(std::size_t row) { return Formats()[row].Template(); }

// Whether the format has a font tag that reads this font name.
bool ReadsFont(const Format& format, std::u16string_view font);

// The style texts of the format for the options: those it lacks are left out.
StyleTags StyleTagsFor(const StyleOptions& styles, const Format& format);
// The window's style tags, bulletin-board tags whatever the preset: bold
// innermost, font outermost.
inline StyleTags StyleTagsFor(const StyleOptions& styles) { return StyleTagsFor(styles, Formats()[kDefaultFormat]); }

} // namespace velmorant
