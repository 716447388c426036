#pragma once
// What the convert button does, from the command line's values.

#include "cli/options.h"
#include "codegen/markup_sink.h"
#include "codegen/tag_template.h"

#include <string_view>

namespace velmorant::cli {

// The dialect's preset (or the start-up template), then the single-text replacements on top.
TagTemplate ResolveTemplate(const Options& options);

// The final code, style tags around the gradient code, written into sink as it is made.
void WriteConversion(std::u16string_view input, const Options& options, MarkupSink& sink);

} // namespace velmorant::cli
