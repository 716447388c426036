#include "core/markup/style_wrap.h"

#include "core/markup/formats.h"

namespace velmorant {

StyleTags StyleTagsFor(const StyleOptions& styles) { return StyleTagsFor(styles, FormatOf(Dialect::Startup)); }

} // namespace velmorant
