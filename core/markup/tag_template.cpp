#include "core/markup/tag_template.h"

#include "core/markup/formats.h"

namespace velmorant {

TagTemplate TemplateFor(Dialect dialect) { return FormatOf(dialect).Template(); }

} // namespace velmorant
