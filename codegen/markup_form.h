#pragma once
// How the generator frames coloured units beyond the tag template.

#include "codegen/style_wrap.h"
#include "codegen/tag_template.h"

namespace velmorant {

// Six upper-case hex digits (the forum dialects), or "R;G;B" in decimal for
// terminal escapes.
enum class CodeStyle { Hex, Decimal };

struct MarkupForm {
    CodeStyle code = CodeStyle::Hex;
    // Neighbouring coloured units of one colour share one pair of tags; a raw
    // unit between them ends the run.
    bool merge = false;
};

// Everything around the units: the template, the form of the codes, and the
// style tags around the whole code.
struct OutputShape {
    TagTemplate tags;
    MarkupForm form;
    StyleTags style;
};

} // namespace velmorant
