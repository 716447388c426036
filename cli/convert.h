#pragma once
// What the convert button does, from the command line's values.

#include "cli/options.h"
#include "codegen/tag_template.h"

#include <string>
#include <string_view>

namespace velmorant::cli {

// The dialect's preset (or the start-up template), then the single-text replacements on top.
TagTemplate ResolveTemplate(const Options& options);

// The final code is before + code + after. Kept apart so that the code, by far the
// largest text, is never copied once more just to put the style tags around it.
struct ConvertedText {
    std::u16string before;
    std::u16string code;
    std::u16string after;
};

ConvertedText ConvertText(std::u16string_view input, const Options& options);

} // namespace velmorant::cli
