#include "core/conversion/visible_controls.h"

namespace velmorant {

std::u16string_view ShowControls(std::u16string_view text, std::u16string& storage) {
    const std::size_t n = text.size();
    std::size_t first = 0;
    while (first < n && VisibleStandIn(text[first], first + 1 < n ? text[first + 1] : u'\0') == text[first])
        ++first;
    if (first == n)
        return text; // nothing to show differently: no copy
    storage.assign(text);
    for (std::size_t i = first; i < n; ++i)
        storage[i] = VisibleStandIn(text[i], i + 1 < n ? text[i + 1] : u'\0');
    return storage;
}

} // namespace velmorant
