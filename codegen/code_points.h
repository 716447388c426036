#pragma once
// Lengths as forum software counts them: in Unicode code points. A lone
// surrogate counts as one, as it is written as U+FFFD.

#include <cstddef>
#include <string_view>

namespace velmorant {

constexpr std::size_t CountCodePoints(std::u16string_view text) {
    std::size_t pairs = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++pairs;
            ++i;
        }
    }
    return text.size() - pairs;
}

} // namespace velmorant
