#pragma once
// Characters a format cannot write so that its reader shows them as typed, and
// what it writes instead: front ends say so rather than change a text silently.

#include "core/markup/output_shape.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace velmorant {

struct Unshown {
    std::u16string_view typed;   // the character (a CR LF pair is one)
    std::u16string_view written; // what the code holds instead
    std::size_t count = 0;       // how many times
};

// One row per kind of character changed, in the order first met; none for a
// format that writes every character as typed.
std::vector<Unshown> UnshownCharacters(std::u16string_view text, const Format& format);

} // namespace velmorant
