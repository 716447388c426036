#include "cli/convert.h"

#include "codegen/gradient_markup.h"
#include "codegen/gradient_stops.h"
#include "codegen/visible_controls.h"

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

OutputPlan PlanOutput(const Options& options) {
    if (options.ansi)
        return {{u"\x1b[38;2;", u"m", u"\x1b[0m"}, {CodeStyle::Decimal, options.merge}, {}};
    return {ResolveTemplate(options), {CodeStyle::Hex, options.merge}, StyleTagsFor(options.styles)};
}

StepFit FitConversion(std::u16string_view input, const Options& options) {
    std::u16string shown;
    if (options.ansi)
        input = ShowControls(input, shown);
    const GradientText text = PrepareGradientText(input, u"1");
    const OutputPlan plan = PlanOutput(options);
    const OutputLengths lengths(text.text, options.gradient,
                                {plan.tags, plan.form, plan.style.before, plan.style.after});
    return FitStep(lengths, text.length, options.fit.value_or(0));
}

ConversionCounts WriteConversion(std::u16string_view input, const Options& options, MarkupSink& sink,
                                 std::optional<std::int32_t> step) {
    const OutputPlan plan = PlanOutput(options);
    // The terminal gets the text's controls as pictures, never to act on.
    std::u16string shown;
    if (options.ansi)
        input = ShowControls(input, shown);
    GradientText text = PrepareGradientText(input, options.step);
    if (step)
        text.step = *step;
    ConversionCounts counts{0, text.step};
    sink.Write(plan.style.before);
    if (text.length > 0) {
        // Two sRGB stops keep the window's own stepping; anything else walks the stops.
        const std::vector<Rgb>& stops = options.gradient.stops;
        if (stops.size() == 2 && options.gradient.blend == Blend::Srgb) {
            TwoColourSteps colours({stops[0], stops[1]}, text.step, text.length);
            counts.tagPairs = WriteGradientMarkup(text, colours, plan.tags, plan.form, sink);
        } else {
            StopColours colours(options.gradient, text.step, text.length);
            counts.tagPairs = WriteGradientMarkup(text, colours, plan.tags, plan.form, sink);
        }
    }
    sink.Write(plan.style.after);
    return counts;
}

} // namespace velmorant::cli
