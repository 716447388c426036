#pragma once
// How the generator frames coloured units beyond the tag template.

#include "core/markup/style_wrap.h"
#include "core/markup/tag_template.h"

#include <string>

namespace velmorant {

// Six upper-case hex digits (the forum dialects), "R;G;B" in decimal for
// terminal escapes, six lower-case digits, or Minecraft's "§x§R§R§G§G§B§B".
enum class CodeStyle { Hex, Decimal, HexLower, SectionDigits };

// How characters the target would read as markup are written.
enum class Escaping {
    None,        // the window's dialects: the text as typed
    Html,        // & < > " as entities, repeated blanks kept, <br> before a line break
    BbCode,      // an empty [b][/b] after each "[", so no tag can start there
    MiniMessage, // "\" before "<" and "\"
    Restate,     // the unit's colour code again after the format's own code character
    Terminal,    // controls shown as pictures before the units are cut
};

struct MarkupForm {
    CodeStyle code = CodeStyle::Hex;
    // Neighbouring coloured units of one colour share one pair of tags; a raw
    // unit between them ends the run.
    bool merge = false;
    Escaping escaping = Escaping::None;
    char16_t restated = 0;        // Restate: the character the colour code follows again
    std::u16string eachUnit = {}; // styles after every colour code, where a code resets them
};

// Everything around the units: the template, the form of the codes, and the
// style tags around the whole code.
struct OutputShape {
    TagTemplate tags;
    MarkupForm form;
    StyleTags style;
};

} // namespace velmorant
