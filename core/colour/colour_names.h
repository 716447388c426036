#pragma once
// The 148 colour keywords of CSS, for colours given by name on the command line.

#include "core/colour/colour.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace velmorant {

// Case-insensitive; nothing for a name CSS does not know.
std::optional<Rgb> NamedColour(std::string_view name);

// How many names there are, for tests that walk them all.
std::size_t NamedColourCount();
std::string_view NamedColourName(std::size_t index);

} // namespace velmorant
