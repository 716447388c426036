#pragma once
// Everything the front ends list, as one JSON description: formats, blends,
// palettes, start-up values, sizes and fonts. The page reads it from the module;
// the CLI's help, completion and manual list the same rows.

#include <string>

namespace velmorant {

std::string DescriptionJson();

} // namespace velmorant
