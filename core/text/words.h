#pragma once
// A caption or a line of help in both languages the page speaks.

#include <string_view>

namespace velmorant {

struct Words {
    std::string_view en, zh;
};

} // namespace velmorant
