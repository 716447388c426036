#include "codegen/tag_template.h"

namespace velmorant {

TagTemplate StartupTemplate() { return {u"[color=#", u"]", u"[/color]"}; }

std::optional<TagTemplate> TemplateForDialect(std::int16_t listIndex) {
    switch (listIndex) {
    case 0:
        return TagTemplate{u"<font color=", u">", u"</font>"};
    case 1:
        return TagTemplate{u"[color=", u"]", u"[/color]"};
    case 2:
        return TagTemplate{u"[ftc=", u"]", u"[/ft]"};
    default:
        return std::nullopt;
    }
}

} // namespace velmorant
