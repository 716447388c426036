#pragma once
// Every format the code can be written in, one row each: how a colour is
// spelled, the texts around a unit, how the text is escaped, how a line break is
// written and the format's own styles. The window's dialects are rows too.

#include "core/markup/markup_form.h"
#include "core/markup/style_wrap.h"
#include "core/markup/tag_template.h"

#include <optional>
#include <span>
#include <string_view>

namespace velmorant {

// A style's texts; none in the format when open is empty. For size and font the
// value goes between open and value end.
// HTML's seven font sizes as CSS names them, for formats with cssSize.
inline constexpr std::u16string_view kCssSizes[] = {u"x-small", u"small",    u"medium",   u"large",
                                                    u"x-large", u"xx-large", u"xxx-large"};

struct StyleSpelling {
    std::u16string_view open;
    std::u16string_view valueEnd;
    std::u16string_view close;
    bool Available() const { return !open.empty(); }
};

struct Format {
    std::string_view name;    // on the command line and the page
    std::string_view summary; // one line for the help
    std::optional<Dialect> dialect;
    std::u16string_view open, middle, close;
    CodeStyle code;
    Escaping escaping;
    char16_t restated = 0; // Restate: the character the colour code follows again
    bool stylesEachUnit;   // the colour code resets styles, so they follow each one
    bool cssSize;          // sizes 1 to 7 written as CSS keywords
    StyleSpelling bold, italic, underline, strike, size, font;

    TagTemplate Template() const { return {std::u16string(open), std::u16string(middle), std::u16string(close)}; }
};

// Every row, the window's dialects first.
std::span<const Format> Formats();

// The row of a name, or null.
const Format* FindFormat(std::string_view name);

// The row of one of the window's dialects.
const Format& FormatOf(Dialect dialect);

// The style texts of the format for the options: those it lacks are left out.
StyleTags StyleTagsFor(const StyleOptions& styles, const Format& format);

} // namespace velmorant
