#include "core/conversion/conversion.h"

#include "core/conversion/visible_controls.h"
#include "core/markup/gradient_markup.h"
#include "core/text/text.h"

#include <stdexcept>

namespace velmorant {

namespace {

// A terminal gets the text's controls as pictures, never to act on.
std::u16string_view ShownText(std::u16string_view input, const ConversionRequest& request, std::u16string& storage) {
    return request.format->escaping == Escaping::Terminal ? ShowControls(input, storage) : input;
}

void Require(std::u16string_view input, const ConversionRequest& request) {
    switch (CheckConversion(input, request)) {
    case ConversionProblem::None:
        return;
    case ConversionProblem::TextTooLong:
        throw std::length_error("gradient text longer than 32-bit positions can count");
    case ConversionProblem::BadGradient:
        throw std::invalid_argument("a gradient needs two or more stops");
    }
}

} // namespace

ConversionRequest ConversionRequest::Startup() {
    ConversionRequest request;
    request.gradient = {{{255, 0, 255}, {0, 255, 0}}, Blend::Srgb};
    request.format = &Formats()[kDefaultFormat];
    request.tags = request.format->Template();
    request.step = u"1";
    request.styles.size = u"1";
    request.styles.font = u"宋体";
    return request;
}

OutputShape ShapeOf(const ConversionRequest& request) {
    const Format& format = *request.format;
    StyleTags style = StyleTagsFor(request.styles, format);
    // Neighbouring units given one member of a set share its tag; a tag whose text
    // ends at a "]" holds one unit, as its escapes depend on where the tag starts.
    MarkupForm form{format.code,
                    (request.merge || format.colours != nullptr) && format.escaping != Escaping::TagText,
                    format.escaping,
                    format.restated,
                    std::move(style.eachUnit),
                    format.colours};
    return {request.tags, std::move(form), std::move(style)};
}

std::vector<std::string_view> MissingStyles(const Format& format, const StyleOptions& styles) {
    std::vector<std::string_view> missing;
    const std::pair<bool, const StyleSpelling&> asked[] = {
        {styles.bold, format.bold},           {styles.italic, format.italic},
        {styles.underline, format.underline}, {styles.strikethrough, format.strike},
        {!styles.size.empty(), format.size},  {!styles.font.empty(), format.font}};
    constexpr std::string_view names[] = {"bold", "italic", "underline", "strike", "size", "font"};
    for (std::size_t i = 0; i < std::size(asked); ++i)
        if (asked[i].first && !asked[i].second.Available())
            missing.push_back(names[i]);
    return missing;
}

ConversionProblem CheckConversion(std::u16string_view input, const ConversionRequest& request) noexcept {
    if (!FitsPositions(TrimBlanks(input)))
        return ConversionProblem::TextTooLong;
    const Gradient& g = request.gradient;
    const auto oneEach = [&](std::size_t size) { return size == 0 || size == g.stops.size(); };
    if (g.stops.size() < 2 || !oneEach(g.exact.size()) || !oneEach(g.positions.size()))
        return ConversionProblem::BadGradient;
    return ConversionProblem::None;
}

ConversionCounts WriteConversion(std::u16string_view input, const ConversionRequest& request, MarkupSink& sink,
                                 std::optional<std::int32_t> step) {
    Require(input, request);
    std::u16string shown;
    input = ShownText(input, request, shown);
    const OutputShape shape = ShapeOf(request);
    GradientText text = PrepareGradientText(input, request.step, request.Rule());
    if (step && *step >= 1)
        text.step = *step;
    ConversionCounts counts{0, text.step};
    sink.Write(shape.style.before);
    if (text.length > 0)
        counts.tagPairs =
            WriteGradientMarkup(text, request.gradient, shape.tags, shape.form, sink, &counts.largestDistance);
    sink.Write(shape.style.after);
    return counts;
}

const LengthRule& LengthRuleOf(const ConversionRequest& request) {
    return request.destination ? *request.destination->count : kCodePoints;
}

StepFit FitConversion(std::u16string_view input, const ConversionRequest& request, std::uint64_t limit,
                      std::uint64_t maxTags) {
    Require(input, request);
    std::u16string shown;
    input = ShownText(input, request, shown);
    const GradientText text = PrepareGradientText(input, u"1", request.Rule());
    const OutputLengths lengths(text.text, request.gradient, ShapeOf(request), LengthRuleOf(request), request.Rule());
    return FitStep(lengths, text.length, limit, maxTags);
}

CodeMeasure MeasureConversion(std::u16string_view input, const ConversionRequest& request,
                              std::optional<std::int32_t> step) {
    Require(input, request);
    std::u16string shown;
    input = ShownText(input, request, shown);
    const GradientText text = PrepareGradientText(input, request.step, request.Rule());
    const OutputLengths lengths(text.text, request.gradient, ShapeOf(request), LengthRuleOf(request), request.Rule());
    return lengths.Measure(step && *step >= 1 ? *step : text.step);
}

} // namespace velmorant
