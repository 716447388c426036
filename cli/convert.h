#pragma once
// What the convert button does, from the command line's values.

#include "cli/options.h"
#include "codegen/tag_template.h"

#include <string>
#include <string_view>

namespace velmorant::cli {

// The dialect's preset (or the start-up template), then the single-text replacements on top.
TagTemplate ResolveTemplate(const Options& options);

// The gradient code for input wrapped in the style tags.
std::u16string ConvertText(std::u16string_view input, const Options& options);

} // namespace velmorant::cli
