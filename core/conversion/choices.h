#pragma once
// The size and font lists the window offers; the page and the CLI's completion
// offer the same.

#include <span>
#include <string_view>

namespace velmorant {

std::span<const std::u16string_view> SizeChoices();
std::span<const std::u16string_view> FontChoices();
// The readable goals offered by name; --readable takes any APCA Lc as apca-N too.
std::span<const std::u16string_view> ReadableChoices();

} // namespace velmorant
