#include "preview/preview_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/colour/colour_sets.h"
#include "core/markup/gradient_markup.h"
#include "core/text/code_points.h"
#include "core/text/graphemes.h"
#include "core/text/text.h"
#include "core/text/text_to_number.h"
#include "core/text/units.h"

namespace velmorant {

float MapPreviewSize(std::u16string_view sizeText) {
    static constexpr float sizes[] = {10, 11, 12, 14, 19, 24, 35};
    const double value = TextToNumber(sizeText);
    for (int choice = 1; choice <= 7; ++choice)
        if (value == choice)
            return sizes[choice - 1];
    // A double beyond float's range has no float to round to: it becomes infinite.
    if (std::abs(value) > std::numeric_limits<float>::max())
        return value > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::vector<PreviewRun> LayoutPreview(std::u16string_view trimmedText, std::int32_t k, const Gradient& gradient,
                                      float cellPoints, PreviewArea area) {
    const std::int32_t n = PositionCount(trimmedText);
    // The generator's decision for steps that cannot cut a text.
    if (k < 1)
        k = 1;

    // Only units starting at PreviewLastPosition or before are drawn. Cutting the
    // text just past the last such unit (plus one for a low surrogate it may keep)
    // leaves every one of them as the whole text would cut it, and keeps the cost
    // bounded for any length.
    const std::size_t keep = std::min<std::size_t>(trimmedText.size(), PreviewLastPosition + std::size_t(k) + 1);
    const std::u16string_view visible = trimmedText.substr(0, keep);

    std::vector<PreviewRun> runs;
    if (n == 0)
        return runs;
    GradientWalker colours(gradient, k, n);
    ForEachUnit(visible, k, [&](const Unit& unit) {
        if (unit.position > PreviewLastPosition)
            return;
        const std::int32_t col = (unit.position - 1) % PreviewColumns + 1;
        const std::int32_t row = (unit.position - 1) / PreviewColumns;
        const double x = std::nearbyint(static_cast<double>((col - 1) * 20) * static_cast<double>(cellPoints));
        // Beyond 32 bits (or not a number) the unit lies outside any picture.
        if (!(x >= -2147483648.0 && x <= 2147483647.0))
            return;
        const auto left = static_cast<std::int32_t>(x);
        const std::int32_t top = row * PreviewRowHeight;
        if (left >= area.width || top >= area.height)
            return;
        colours.MoveTo(unit.position);
        runs.push_back({std::u16string(unit.text), Pack(colours.Colour()), left, top});
    });
    return runs;
}

std::vector<PreviewRun> LayoutPreview(std::u16string_view input, const ConversionRequest& request, float cellPoints,
                                      PreviewArea area) {
    const GradientText text = PrepareGradientText(input, request.step);
    std::vector<PreviewRun> runs = LayoutPreview(text.text, text.step, request.gradient, cellPoints, area);
    // A place taking only some colours shows the member written.
    if (const ColourSet* set = request.format->colours) {
        NearestCode nearest(*set);
        for (PreviewRun& run : runs)
            run.Colour = static_cast<PackedRgb>(nearest(UnpackRgb(static_cast<std::uint32_t>(run.Colour))).rgb);
    }
    return runs;
}

std::vector<PreviewSpan> PreviewSpans(std::u16string_view input, const ConversionRequest& request,
                                      std::optional<std::int32_t> step, std::uint32_t characters) {
    GradientText text = PrepareGradientText(input, request.step, request.Rule());
    if (step)
        text.step = *step;
    std::vector<PreviewSpan> spans;
    if (text.length == 0)
        return spans;
    std::size_t end = 0;
    for (std::uint32_t count = 0; count < characters && end < text.text.size(); ++count)
        end += end + 1 < text.text.size() && IsSurrogatePair(text.text[end], text.text[end + 1]) ? 2 : 1;
    const std::u16string_view shown = text.text.substr(0, end);
    const auto offset = static_cast<std::int32_t>(text.text.data() - input.data());
    // The code's own cut and colours, by position or with end stops by unit.
    const ColourScale scale = ScaleOf(text);
    GradientWalker colours(request.gradient, scale.k, scale.n, scale.first);
    std::int32_t index = 0;
    // A place taking only some colours shows the member written.
    std::optional<NearestCode> nearest;
    if (request.format->colours)
        nearest.emplace(*request.format->colours);
    ForEachUnit(shown, text.step, text.rule, [&](const Unit& unit) {
        colours.MoveTo(text.rule.endStops ? std::max(index++ - scale.firstUnit, 0) : unit.position);
        spans.push_back({offset + static_cast<std::int32_t>(unit.text.data() - shown.data()),
                         static_cast<std::int32_t>(unit.text.size()),
                         nearest ? UnpackRgb((*nearest)(colours.Colour()).rgb) : colours.Colour()});
    });
    return spans;
}

} // namespace velmorant
