#pragma once
// The shape of the output: the texts around each coloured unit, how a colour
// code is spelled, how the text is escaped, and the style tags around the code.
// A Format (core/markup/formats.h lists them) is one row of these.

#include "core/text/words.h"

#include <string>
#include <string_view>

namespace velmorant {

// The three texts framing each coloured unit: Open, colour code, Middle, characters, Close.
struct TagTemplate {
    std::u16string Open;
    std::u16string Middle;
    std::u16string Close;
    friend bool operator==(const TagTemplate&, const TagTemplate&) = default;
};

// Six upper-case hex digits (the window's formats), "R;G;B" in decimal for
// terminal escapes, six lower-case digits, Minecraft's "§x§R§R§G§G§B§B", or the
// code text of the nearest member of a set of colours (a place taking only those).
enum class CodeStyle { Hex, Decimal, HexLower, SectionDigits, Named };

struct ColourSet;

// How characters the target would read as markup are written.
enum class Escaping {
    None,        // the window's formats: the text as typed
    Html,        // & < > " as entities, repeated blanks kept, <br> before a line break
    BbCode,      // an empty [b][/b] after each "[", so no tag can start there
    Smf,         // "[" and a smiley's second character inside [nobbc] (SMF drops empty tags before
                 // reading); an empty [b][/b] inside "&#", "&amp;"..., "/me" and between dots
    Discuz,      // an empty [b][/b] after each "[" and inside "&amp;"... (one character to its cutstr()) and smilies
    BbCodeTags,  // the format's tag break after a "[" only where a tag could start: one that
                 // is followed by a name and then "]", "=", ":", "/" or white space
    MyCode,      // as numeric references where MyBB would read markup: a "[" that could start
                 // a tag, "&#" with digits and ";", "(c)", "(tm)", "(r)", "/me" at a line's start
    MiniMessage, // "\" before "<" and "\"
    Restate,     // the unit's colour code again after the format's own code character
    Terminal,    // controls shown as pictures before the units are cut
    Essentials,  // EssentialsX: no code right after a typed "&", "&&" before a code letter
    // Each unit's text inside one tag that ends at the first "]" not after a "\"
    // and holds one line: a "]" opens a tag of its own (it may be a tag's first
    // character), a "\" takes a blank after it so none stands before a tag's end, and line breaks
    // and tabs are written as blanks. Neighbouring units never share a tag.
    TagText,
    // Text inside a fenced code block read for terminal colours: each "`" followed
    // by the unit's colour code again, so no three stand together and end the
    // block, and an ESC, which would start a code, written as its picture.
    CodeBlock,
};

struct MarkupForm {
    CodeStyle code = CodeStyle::Hex;
    // Neighbouring coloured units of one colour share one pair of tags; a raw
    // unit between them ends the run.
    bool merge = false;
    Escaping escaping = Escaping::None;
    char16_t restated = 0;              // Restate: the character the colour code follows again
    std::u16string eachUnit = {};       // styles after every colour code, where a code resets them
    const ColourSet* colours = nullptr; // Named: the set each unit's colour is taken from
    std::u16string_view tagBreak = {};  // BbCodeTags: what follows a "[" that could start a tag
};

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

// Everything around the units: the template, the form of the codes, and the
// style tags around the whole code.
struct OutputShape {
    TagTemplate tags;
    MarkupForm form;
    StyleTags style;
};

// A style's texts; none in the format when open is empty. For size and font the
// value goes between open and value end.
// HTML's seven font sizes as CSS names them, for formats with cssSize.
inline constexpr std::u16string_view kCssSizes[] = {u"x-small", u"small",    u"medium",   u"large",
                                                    u"x-large", u"xx-large", u"xxx-large"};
// The same sizes as percentages of the medium one, for formats with percentSize.
inline constexpr std::u16string_view kPercentSizes[] = {u"63", u"81", u"100", u"113", u"150", u"200", u"300"};

struct StyleSpelling {
    std::u16string_view open;
    std::u16string_view valueEnd;
    std::u16string_view close;
    bool Available() const { return !open.empty(); }
};

// One format the code can be written in: how a colour is spelled, the texts
// around a unit, how the text is escaped and the format's own styles.
struct Format {
    std::string_view name;    // on the command line and the page
    std::string_view summary; // one line for the help
    Words caption, help;      // the page's; help.en empty: the summary says it
    bool window;              // one of the window's: its start-up template, its presets, a terminal
    std::u16string_view open, middle, close;
    CodeStyle code;
    Escaping escaping;
    char16_t restated = 0; // Restate: the character the colour code follows again
    bool stylesEachUnit;   // the colour code resets styles, so they follow each one
    bool cssSize;          // sizes 1 to 7 written as CSS keywords
    StyleSpelling bold, italic, underline, strike, size, font;
    const ColourSet* colours = nullptr; // Named: the only colours the place takes
    bool rawWhiteSpace = false;         // units of only white space untagged: the place drops such tags
    bool percentSize = false;           // sizes 1 to 7 written as percentages
    // BbCodeTags: an empty pair of tags the place reads and shows as nothing.
    std::u16string_view tagBreak = {};
    // The place's own value for each of HTML's seven sizes, where it reads sizes its own way.
    const std::u16string_view* sizes = nullptr;
    // The characters a font name may hold, where the place reads only some: other names are left out.
    std::u16string_view fontCharacters = {};
    // Around the whole code, outside the style tags: where a place reads codes
    // only inside a block of its own.
    std::u16string_view prefix = {}, suffix = {};

    TagTemplate Template() const { return {std::u16string(open), std::u16string(middle), std::u16string(close)}; }
};

} // namespace velmorant
