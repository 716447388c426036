#pragma once
// Every format the code can be written in, one row each (core/markup/formats.cpp).
// The window's dialects are rows too.

#include "core/markup/output_shape.h"

#include <span>
#include <string_view>

namespace velmorant {

// Every row, the window's dialects first.
std::span<const Format> Formats();

// The row of a name, or null.
const Format* FindFormat(std::string_view name);

// The row of one of the window's dialects.
const Format& FormatOf(Dialect dialect);

// The template of a dialect: "[color=#" "]" "[/color]" for Startup, the only one
// with a "#" before the code; the presets for Html, Ubb and Qq.
inline TagTemplate TemplateFor(Dialect dialect) { return FormatOf(dialect).Template(); }

// The style texts of the format for the options: those it lacks are left out.
StyleTags StyleTagsFor(const StyleOptions& styles, const Format& format);
// The window's style tags, bulletin-board tags whatever the preset: bold
// innermost, font outermost.
inline StyleTags StyleTagsFor(const StyleOptions& styles) { return StyleTagsFor(styles, FormatOf(Dialect::Startup)); }

} // namespace velmorant
