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

ConvertedText ConvertText(std::u16string_view input, const Options& options) {
    auto [before, after] = StyleTagsFor(options.styles);
    return {std::move(before), ComposeGradientMarkup(input, options.step, {options.gradient.stops.front(), options.gradient.stops.back()},
                                                   ResolveTemplate(options)),
            std::move(after)};
}

} // namespace velmorant::cli
