#pragma once
// What the convert button does, from the command line's values, and what the
// command line adds: more stops, Oklab, merged runs, terminal colours, a step
// chosen for a length limit.

#include "cli/options.h"
#include "codegen/markup_form.h"
#include "codegen/markup_sink.h"
#include "codegen/step_fit.h"
#include "codegen/style_wrap.h"
#include "codegen/tag_template.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace velmorant::cli {

// The dialect's preset (or the start-up template), then the single-text replacements on top.
TagTemplate ResolveTemplate(const Options& options);

// Everything around the units the options ask for: the forum template and style
// tags, or terminal escapes and no style tags for --dialect ansi.
struct OutputPlan {
    TagTemplate tags;
    MarkupForm form;
    StyleTags style;
};
OutputPlan PlanOutput(const Options& options);

// The smallest step whose whole output is at most options.fit code points.
StepFit FitConversion(std::u16string_view input, const Options& options);

struct ConversionCounts {
    std::size_t tagPairs = 0;
    std::int32_t step = 1;
};

// The final code, style tags around the gradient code, written into sink as it is
// made. The step comes from the step text unless one is given.
ConversionCounts WriteConversion(std::u16string_view input, const Options& options, MarkupSink& sink,
                                 std::optional<std::int32_t> step = std::nullopt);

} // namespace velmorant::cli
