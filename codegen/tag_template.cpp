#include "codegen/tag_template.h"

#include "codegen/formats.h"

namespace velmorant {

TagTemplate TemplateFor(Dialect dialect) { return FormatOf(dialect).Template(); }

} // namespace velmorant
