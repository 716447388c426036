#include "cli/convert.h"

#include "codegen/gradient_markup.h"
#include "codegen/style_wrap.h"

namespace velmorant::cli {

namespace {

// The tags never depend on the text inside them, so wrapping one marker that the tags
// themselves do not hold shows where they split. The tag rules stay in WrapInStyleTags.
std::pair<std::u16string, std::u16string> SplitStyleTags(const StyleOptions &styles) {
    const std::u16string tagsAlone = WrapInStyleTags(u"", styles);
    char16_t marker = 0xFFFF;
    while (tagsAlone.find(marker) != std::u16string::npos)
        --marker;
    std::u16string wrapped = WrapInStyleTags(std::u16string_view(&marker, 1), styles);
    const std::size_t at = wrapped.find(marker);
    return {wrapped.substr(0, at), wrapped.substr(at + 1)};
}

} // namespace

TagTemplate ResolveTemplate(const Options &options) {
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

ConvertedText ConvertText(std::u16string_view input, const Options &options) {
    auto [before, after] = SplitStyleTags(options.styles);
    return {std::move(before), ComposeGradientMarkup(input, options.step, options.colours, ResolveTemplate(options)),
            std::move(after)};
}

} // namespace velmorant::cli
