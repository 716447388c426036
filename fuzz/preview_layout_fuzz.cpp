// LayoutPreview with any step, cell size, area and colours, over texts long
// enough to run past the end of the grid.

#include "core/colour/colour.h"
#include "core/text/text.h"
#include "core/text/units.h"
#include "fuzz/fuzz_input.h"
#include "preview/preview_layout.h"
#include "reference_rules.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace velmorant;

// Enough for every unit of the grid and then some, whatever the step.
constexpr std::size_t MaxText = 3 * PreviewLastPosition;

// What the preview should hold: every unit of the whole text that starts on the
// grid and inside the area, in order.
std::vector<PreviewRun> ExpectedRuns(std::u16string_view text, std::int32_t k, const ColourPair& colours,
                                     float cellPoints, PreviewArea area) {
    std::vector<PreviewRun> runs;
    const auto n = static_cast<std::int32_t>(text.size());
    ForEachUnit(text, std::max(k, 1), [&](const Unit& unit) {
        if (unit.position > PreviewLastPosition)
            return;
        const std::int32_t col = (unit.position - 1) % PreviewColumns;
        const std::int32_t row = (unit.position - 1) / PreviewColumns;
        const double x = std::nearbyint(col * 20.0 * static_cast<double>(cellPoints));
        if (!(x >= -2147483648.0 && x <= 2147483647.0))
            return;
        const auto left = static_cast<std::int32_t>(x);
        const std::int32_t top = row * PreviewRowHeight;
        if (left < area.width && top < area.height)
            runs.push_back({std::u16string(unit.text), Pack(BlendAt(colours, unit.position, n)), left, top});
    });
    return runs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const ColourPair colours = input.TakeColours();
    const auto k = input.Take<std::int32_t>();
    const auto cellPoints = input.Take<float>();
    const std::size_t copies = std::size_t(input.TakeByte()) + 1;
    const std::uint8_t flags = input.TakeByte();
    PreviewArea area;
    if (flags & 1) {
        area.width = input.Take<std::int32_t>();
        area.height = input.Take<std::int32_t>();
    }
    // The fragment repeated, so that a short input can reach the grid's last rows.
    const std::u16string fragment = input.TakeText();
    std::u16string repeated;
    for (std::size_t i = 0; i < copies && repeated.size() < MaxText; ++i)
        repeated += fragment;
    const std::u16string_view text = TrimBlanks(repeated);

    const std::vector<PreviewRun> runs = LayoutPreview(text, k, colours, cellPoints, area);

    // Every run is a nonempty piece of the text, the pieces in text order, each
    // drawn inside the area and on the grid.
    std::size_t cursor = 0;
    for (const PreviewRun& run : runs) {
        FUZZ_CHECK(!run.Text.empty());
        const std::size_t found = text.find(run.Text, cursor);
        FUZZ_CHECK(found != std::u16string_view::npos);
        cursor = found + run.Text.size();
        FUZZ_CHECK(run.X < area.width);
        FUZZ_CHECK(run.Y < area.height);
        FUZZ_CHECK(run.Y >= 0 && run.Y % PreviewRowHeight == 0);
        FUZZ_CHECK(run.Y / PreviewRowHeight < PreviewLastPosition / PreviewColumns);
        if (cellPoints >= 0)
            FUZZ_CHECK(run.X >= 0);
        else
            FUZZ_CHECK(run.X <= 0);
        FUZZ_CHECK(run.Colour >= 0 && run.Colour <= 0xFFFFFF);
    }

    // Cutting the text at the grid's end loses nothing and changes no unit.
    FUZZ_CHECK(runs == ExpectedRuns(text, k, colours, cellPoints, area));
    return 0;
}
