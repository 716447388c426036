#pragma once
// The convert button as one request: every front end (the window, the CLI, the
// web page) builds a ConversionRequest from its controls or options and hands it
// here. No front end steps colours, writes units or places style tags itself.

#include "core/colour/gradient.h"
#include "core/conversion/destinations.h"
#include "core/conversion/step_fit.h"
#include "core/markup/formats.h"
#include "core/markup/markup_sink.h"
#include "core/text/units.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmorant {

struct ConversionRequest {
    Gradient gradient; // at least two stops
    // How colours, escapes and styles are spelled; the window's formats are rows too.
    const Format* format = &Formats()[kDefaultFormat];
    TagTemplate tags;    // used as it stands: the format's preset, possibly edited
    bool merge = false;  // one pair of tags for neighbouring units of one colour
    std::u16string step; // characters per unit, read as the step box is read
    StyleOptions styles; // those the format lacks are left out
    // The place the code is posted to, none for a bare format: its count is the
    // one limits are measured in.
    const Destination* destination = nullptr;
    // A unit never splits a cluster and the step counts clusters: no colour spent on a code point nobody sees.
    bool graphemes = false;
    // The first coloured unit wears the first stop and the last the last, as "red to blue" reads.
    bool endStops = false;

    UnitRule Rule() const { return {graphemes, endStops, format && format->rawWhiteSpace}; }

    // The window's values at start-up: magenta to green, the "[color=#" template,
    // step 1, size 1 and font 宋体. Every front end and the usage text start here.
    static ConversionRequest Startup();
};

// The window's text to convert at start-up, line break and all.
inline constexpr std::u16string_view kStartupText = u"Zarimo软件-免费、精彩、共享！\r\n";

// The template, code form and style tags the request writes around its units.
OutputShape ShapeOf(const ConversionRequest& request);

// The style options the format has no spelling for, among those asked for.
std::vector<std::string_view> MissingStyles(const Format& format, const StyleOptions& styles);

struct ConversionCounts {
    std::size_t tagPairs = 0;
    std::int32_t step = 1;
    double largestDistance = 0; // Oklab ΔE from a unit's colour to the set's member written for it
};

// What would stop a request from converting. The check never throws, so a caller
// without exceptions (WebAssembly) can ask first; WriteConversion and
// FitConversion throw for anything but None.
enum class ConversionProblem {
    None,
    TextTooLong, // the trimmed text has more char16s than 32-bit positions count
    BadGradient, // fewer than two stops, or exact colours or positions not one per stop
};
ConversionProblem CheckConversion(std::u16string_view input, const ConversionRequest& request) noexcept;

// The final code, style tags around the gradient code, written into sink as it is
// made. The step comes from the request's step text unless one (>= 1) is given.
ConversionCounts WriteConversion(std::u16string_view input, const ConversionRequest& request, MarkupSink& sink,
                                 std::optional<std::int32_t> step = std::nullopt);

// How the request's code is counted: its destination's way, else in code points.
const LengthRule& LengthRuleOf(const ConversionRequest& request);

// The smallest step whose whole code is at most limit long, counted as
// LengthRuleOf says, and writes at most maxTags colour tags.
StepFit FitConversion(std::u16string_view input, const ConversionRequest& request, std::uint64_t limit,
                      std::uint64_t maxTags = UINT64_MAX);

// The length and colour tags of the code at a step (the step text's for none).
CodeMeasure MeasureConversion(std::u16string_view input, const ConversionRequest& request,
                              std::optional<std::int32_t> step = std::nullopt);

} // namespace velmorant
