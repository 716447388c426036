#include "codegen/tag_template.h"

namespace velmorant {

TagTemplate TemplateFor(Dialect dialect) {
    switch (dialect) {
    case Dialect::Html:
        return {u"<font color=", u">", u"</font>"};
    case Dialect::Ubb:
        return {u"[color=", u"]", u"[/color]"};
    case Dialect::Qq:
        return {u"[ftc=", u"]", u"[/ft]"};
    case Dialect::Ansi:
        // 24-bit foreground colour, then back to the terminal's own.
        return {u"\x1b[38;2;", u"m", u"\x1b[0m"};
    case Dialect::Startup:
        break;
    }
    return {u"[color=#", u"]", u"[/color]"};
}

} // namespace velmorant
