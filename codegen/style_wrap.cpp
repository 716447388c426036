#include "codegen/style_wrap.h"

#include "codegen/formats.h"

namespace velmorant {

StyleTags StyleTagsFor(const StyleOptions& styles) { return StyleTagsFor(styles, FormatOf(Dialect::Startup)); }

} // namespace velmorant
