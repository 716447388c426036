#include "codegen/style_wrap.h"

namespace velmorant {

std::u16string WrapInStyleTags(std::u16string_view code, const StyleOptions& styles) {
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

    std::size_t size = code.size();
    for (const Wrapper& w : wrappers)
        if (w.applies)
            size += w.open.size() + w.value.size() + w.openEnd.size() + w.close.size();

    std::u16string result;
    result.reserve(size);
    for (auto w = std::rbegin(wrappers); w != std::rend(wrappers); ++w)
        if (w->applies)
            result.append(w->open).append(w->value).append(w->openEnd);
    result.append(code);
    for (const Wrapper& w : wrappers)
        if (w.applies)
            result.append(w.close);
    return result;
}

} // namespace velmorant
