#include "core/text/text.h"

#include <stdexcept>

namespace velmorant {

std::u16string_view TrimBlanks(std::u16string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::int32_t PositionCount(std::u16string_view text) {
    if (!FitsPositions(text))
        throw std::length_error("text longer than 32-bit positions can count");
    return static_cast<std::int32_t>(text.size());
}

} // namespace velmorant
