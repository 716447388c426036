#include "codegen/conversion.h"

#include "codegen/gradient_markup.h"
#include "codegen/text.h"
#include "codegen/visible_controls.h"

#include <stdexcept>

namespace velmorant {

namespace {

// A terminal gets the text's controls as pictures, never to act on.
std::u16string_view ShownText(std::u16string_view input, const ConversionRequest& request, std::u16string& storage) {
    return request.dialect == Dialect::Ansi ? ShowControls(input, storage) : input;
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
    request.dialect = Dialect::Startup;
    request.tags = TemplateFor(Dialect::Startup);
    request.step = u"1";
    request.styles.size = u"1";
    request.styles.font = u"宋体";
    return request;
}

OutputShape ShapeOf(const ConversionRequest& request) {
    if (request.dialect == Dialect::Ansi)
        return {request.tags, {CodeStyle::Decimal, request.merge}, {}};
    return {request.tags, {CodeStyle::Hex, request.merge}, StyleTagsFor(request.styles)};
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
    GradientText text = PrepareGradientText(input, request.step);
    if (step && *step >= 1)
        text.step = *step;
    ConversionCounts counts{0, text.step};
    sink.Write(shape.style.before);
    if (text.length > 0) {
        GradientWalker colours(request.gradient, text.step, text.length);
        counts.tagPairs = WriteGradientMarkup(text, colours, shape.tags, shape.form, sink);
    }
    sink.Write(shape.style.after);
    return counts;
}

StepFit FitConversion(std::u16string_view input, const ConversionRequest& request, std::uint64_t limitCodePoints) {
    Require(input, request);
    std::u16string shown;
    input = ShownText(input, request, shown);
    const GradientText text = PrepareGradientText(input, u"1");
    const OutputLengths lengths(text.text, request.gradient, ShapeOf(request));
    return FitStep(lengths, text.length, limitCodePoints);
}

} // namespace velmorant
