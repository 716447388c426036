#include "codegen/style_wrap.h"

namespace velmorant {

StyleTags StyleTagsFor(const StyleOptions& styles) {
    struct Wrapper {
        bool applies;
        std::u16string_view open;
        std::u16string_view value; // between "[size=" or "[font=" and "]"
        std::u16string_view openEnd;
        std::u16string_view close;
    };
    // Innermost first, as the wrappers are applied one after the other.
    const Wrapper wrappers[] = {
        {styles.bold, u"[B]", {}, {}, u"[/B]"},
        {styles.italic, u"[i]", {}, {}, u"[/i]"},
        {styles.underline, u"[u]", {}, {}, u"[/u]"},
        {styles.strikethrough, u"[strike]", {}, {}, u"[/strike]"},
        {!styles.size.empty(), u"[size=", styles.size, u"]", u"[/size]"},
        {!styles.font.empty(), u"[font=", styles.font, u"]", u"[/font]"},
    };

    StyleTags tags;
    for (auto w = std::rbegin(wrappers); w != std::rend(wrappers); ++w)
        if (w->applies)
            tags.before.append(w->open).append(w->value).append(w->openEnd);
    for (const Wrapper& w : wrappers)
        if (w.applies)
            tags.after.append(w.close);
    return tags;
}

} // namespace velmorant
