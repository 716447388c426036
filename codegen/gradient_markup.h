#pragma once

#include "codegen/colour.h"
#include "codegen/tag_template.h"

#include <string>
#include <string_view>

namespace velmorant {

// The gradient code for an untrimmed input: trims blanks, takes k from the step
// text, and writes each unit framed by the template in its own colour (raw units
// untagged). Linear in the text; one allocation for the result.
std::u16string ComposeGradientMarkup(std::u16string_view input, std::u16string_view stepText, const ColourPair& colours,
                                     const TagTemplate& tags);

} // namespace velmorant
