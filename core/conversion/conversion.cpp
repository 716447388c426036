#include "core/conversion/conversion.h"

#include "core/colour/colour_sets.h"
#include "core/conversion/visible_controls.h"
#include "core/markup/counting_sink.h"
#include "core/markup/escaping.h"
#include "core/markup/gradient_markup.h"
#include "core/text/code_points.h"
#include "core/text/graphemes.h"
#include "core/text/text.h"
#include "core/text/units.h"

#include <algorithm>
#include <stdexcept>

namespace velmorant {

namespace {

const Unshown* UnshownRow(char16_t c, std::span<const Unshown> unshown) {
    for (const Unshown& row : unshown)
        if (c >= row.first && c <= row.last)
            return &row;
    return nullptr;
}

// A terminal gets the text's controls as pictures, never to act on; a place
// gets what it can show instead of what it cannot.
std::u16string_view ShownText(std::u16string_view input, const ConversionRequest& request, std::u16string& storage) {
    if (request.format->escaping == Escaping::Terminal)
        return ShowControls(input, storage);
    if (!request.destination || request.destination->unshown.empty())
        return input;
    const std::span<const Unshown> unshown = request.destination->unshown;
    const auto first = std::find_if(input.begin(), input.end(), [&](char16_t c) { return UnshownRow(c, unshown); });
    if (first == input.end())
        return input;
    storage.assign(input);
    for (auto at = storage.begin() + (first - input.begin()); at != storage.end(); ++at)
        if (const Unshown* row = UnshownRow(*at, unshown))
            *at = row->written;
    return storage;
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
                    format.colours,
                    format.tagBreak};
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
    if (!styles.font.empty() && format.font.Available() && !ReadsFont(format, styles.font))
        missing.push_back("font");
    return missing;
}

std::vector<Substitution> Substitutions(std::u16string_view input, const ConversionRequest& request) {
    std::vector<Substitution> found;
    const auto add = [&](std::u16string_view typed, std::u16string_view written) {
        const auto same =
            std::find_if(found.begin(), found.end(), [&](const Substitution& s) { return s.typed == typed; });
        if (same == found.end())
            found.push_back({typed, written, 1});
        else
            ++same->times;
    };
    const std::u16string_view text = TrimBlanks(input);
    const Escaping escaping = request.format->escaping;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (request.destination)
            if (const Unshown* row = UnshownRow(c, request.destination->unshown)) {
                add(text.substr(i, 1), std::u16string_view(&row->written, 1));
                continue;
            }
        // Tags that hold one line and end at a "]": line breaks and tabs go as a
        // blank, and a "\" takes one after it (see the escaper).
        if (escaping == Escaping::TagText) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                add(text.substr(i++, 2), u" ");
            else if (c == u'\r' || c == u'\n' || c == u'\t')
                add(text.substr(i, 1), u" ");
            else if (c == u'\\')
                add(text.substr(i, 1), u"\\ ");
        } else if (escaping == Escaping::CodeBlock && c == u'\x1b') {
            add(text.substr(i, 1), u"\u241b"); // an ESC would start a code: its picture instead
        }
    }
    return found;
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

bool CanAskGradient(std::u16string_view input, const ConversionRequest& request) {
    if (!request.destination || !request.destination->asksGradient || !request.gradient.IntegerRule() ||
        CheckConversion(input, request) != ConversionProblem::None)
        return false;
    std::u16string shown;
    const std::u16string_view text = TrimBlanks(ShownText(input, request, shown));
    bool single = !text.empty();
    ForEachGrapheme(text, [&](std::u16string_view cluster) {
        single = single && (cluster.size() == 1 || (cluster.size() == 2 && IsSurrogatePair(cluster[0], cluster[1])));
    });
    return single;
}

void WriteAskedGradient(std::u16string_view input, const ConversionRequest& request, MarkupSink& sink) {
    std::u16string shown;
    const std::u16string_view text = TrimBlanks(ShownText(input, request, shown));
    const OutputShape shape = ShapeOf(request);
    sink.Write(shape.style.before);
    std::u16string open = u"<gradient";
    for (const Rgb& stop : request.gradient.stops) {
        open += u":#";
        for (const Channel channel : {stop.red, stop.green, stop.blue})
            for (const int shift : {4, 0})
                open += u"0123456789abcdef"[(channel >> shift) & 0xF];
    }
    open += u'>';
    sink.Write(open);
    TextEscaper escaper(shape.form);
    const auto put = [&](std::u16string_view piece) { sink.Write(piece); };
    escaper.Write(text, {}, put);
    escaper.Finish(put);
    sink.Write(u"</gradient>");
    sink.Write(shape.style.after);
}

std::uint64_t AskedGradientLength(std::u16string_view input, const ConversionRequest& request) {
    struct Discard final : MarkupSink {
        void Write(std::u16string_view) override {}
    } discard;
    CountingSink counted(discard, LengthRuleOf(request));
    WriteAskedGradient(input, request, counted);
    return counted.Counted();
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

bool LargeText(const StyleOptions& styles) {
    return styles.size.size() == 1 && styles.size[0] >= u'5' && styles.size[0] <= u'7';
}

ContrastTarget TargetOf(const ConversionRequest& request) {
    return TargetOf(request.readable.value_or(ReadableGoal{}), LargeText(request.styles));
}

ContrastReport MeasureContrast(std::u16string_view input, const ConversionRequest& request,
                               std::optional<std::int32_t> step) {
    Require(input, request);
    ContrastReport report;
    report.target = TargetOf(request);
    std::u16string shown;
    input = ShownText(input, request, shown);
    GradientText text = PrepareGradientText(input, request.step, request.Rule());
    if (step && *step >= 1)
        text.step = *step;
    if (!request.background || text.length == 0)
        return report;
    const Rgb background = *request.background;
    // The writer's units and places, as the preview takes them too.
    const ColourScale scale = ScaleOf(text);
    GradientWalker colours(request.gradient, scale.k, scale.n, scale.first);
    double worstScore = 0, totalChange = 0;
    std::int32_t index = 0;
    ForEachUnit(text.text, text.step, text.rule, [&](const Unit& unit) {
        const std::int32_t place = text.rule.endStops ? index++ - scale.firstUnit : unit.position;
        if (IsRawUnit(unit.text, text.rule))
            return;
        colours.MoveTo(place);
        const Rgb colour = colours.Colour();
        const double score = ContrastScore(report.target, colour, background);
        if (report.units++ == 0 || score < worstScore) {
            worstScore = score;
            report.worst = colour;
        }
        report.under += score < report.target.level ? 1 : 0;
        const double change = OklabDistance(colours.Unfiltered(), colour);
        report.changed += change > 0 ? 1 : 0;
        totalChange += change;
        report.largestChange = std::max(report.largestChange, change);
    });
    if (report.units > 0) {
        report.worstRatio = ContrastRatio(report.worst, background);
        report.worstLc = ApcaLc(report.worst, background);
        report.meanChange = totalChange / static_cast<double>(report.units);
    }
    return report;
}

} // namespace velmorant
