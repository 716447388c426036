#include "cli/convert.h"

#include "codegen/gradient_markup.h"
#include "codegen/style_wrap.h"

namespace velmorant::cli {

TagTemplate ResolveTemplate(const Options& options) {
    // The parser only lets valid dialect indices through.
    TagTemplate tags = options.dialect ? TemplateForDialect(*options.dialect).value() : StartupTemplate();
    if (options.open)
        tags.Open = *options.open;
    if (options.middle)
        tags.Middle = *options.middle;
    if (options.close)
        tags.Close = *options.close;
    return tags;
}

void WriteConversion(std::u16string_view input, const Options& options, MarkupSink& sink) {
    const StyleTags style = StyleTagsFor(options.styles);
    sink.Write(style.before);
    WriteGradientMarkup(input, options.step, {options.gradient.stops.front(), options.gradient.stops.back()},
                        ResolveTemplate(options), sink);
    sink.Write(style.after);
}

} // namespace velmorant::cli
