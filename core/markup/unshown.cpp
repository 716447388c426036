#include "core/markup/unshown.h"

#include <algorithm>

namespace velmorant {

std::vector<Unshown> UnshownCharacters(std::u16string_view s, const Format& format) {
    std::vector<Unshown> rows;
    if (format.escaping != Escaping::TagText && format.escaping != Escaping::CodeBlock)
        return rows;
    const auto add = [&](std::u16string_view typed, std::u16string_view written) {
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const Unshown& u) { return u.typed == typed; });
        if (row != rows.end())
            ++row->count;
        else
            rows.push_back({typed, written, 1});
    };
    if (format.escaping == Escaping::CodeBlock) {
        for (const char16_t c : s)
            if (c == u'\x1b')
                add(u"\x1b", u"\u241b");
        return rows;
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') {
            add(u"\r\n", u" ");
            ++i;
        } else if (c == u'\r' || c == u'\n' || c == u'\t') {
            add(c == u'\r' ? u"\r" : c == u'\n' ? u"\n" : u"\t", u" ");
        } else if (c == u'\\') {
            add(u"\\", u"\\ ");
        }
    }
    return rows;
}

} // namespace velmorant
