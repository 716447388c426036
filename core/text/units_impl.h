#pragma once
// Template body of ForEachUnit; include core/text/units.h instead.

#include "core/text/code_points.h"

#include <algorithm>
#include <cstddef>

namespace velmorant {

template <class Visit> void ForEachUnit(std::u16string_view text, std::int32_t k, Visit&& visit) {
    const std::size_t n = text.size();
    const std::size_t step = static_cast<std::size_t>(k);
    std::size_t taken = 0; // everything before this index belongs to earlier units
    for (std::size_t start = 0; start < n; start += step) {
        std::size_t end = std::min(start + step, n);
        if (end < n && (IsSurrogatePair(text[end - 1], text[end]) || (step > 1 && IsLineBreakPair(text, end - 1))))
            ++end; // keep the pair whole
        const std::size_t from = std::max(start, taken);
        if (from < end)
            visit(Unit{static_cast<std::int32_t>(start + 1), text.substr(from, end - from)});
        taken = end;
    }
}

} // namespace velmorant
