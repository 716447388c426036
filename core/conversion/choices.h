#pragma once
// The size and font lists the window offers; the page and the CLI's completion
// offer the same.

#include <span>
#include <string_view>

namespace velmorant {

std::span<const std::u16string_view> SizeChoices();
std::span<const std::u16string_view> FontChoices();

} // namespace velmorant
