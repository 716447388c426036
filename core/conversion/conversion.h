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
    // What the code is read on: contrast figures need it. None: no figures.
    std::optional<Rgb> background;
    // Asked for readable colours: the gradient then carries the filter that makes them.
    std::optional<ReadableGoal> readable;
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

// A character the code cannot show as typed (a CR LF pair is one), what the
// code holds instead, and how often it stands in the trimmed text: the place's
// own refusals and what the format's escaping changes, said by every front end.
// The views point into input or into static tables.
struct Substitution {
    std::u16string_view typed;
    std::u16string_view written;
    std::size_t times;
};
std::vector<Substitution> Substitutions(std::u16string_view input, const ConversionRequest& request);

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

// A place that makes gradients itself (MiniMessage's <gradient> tag) colours
// each code point of the text in turn, mixing neighbouring stops in sRGB. It is
// asked to when the destination reads the tag, the stops are plain colours mixed
// in sRGB at equal spacing, and every cluster of the text is one code point, so
// that no character shows in two colours. The code is the styles round
// <gradient:#a:#b…>text</gradient>.
bool CanAskGradient(std::u16string_view input, const ConversionRequest& request);
void WriteAskedGradient(std::u16string_view input, const ConversionRequest& request, MarkupSink& sink);
// Its length, counted as LengthRuleOf says.
std::uint64_t AskedGradientLength(std::u16string_view input, const ConversionRequest& request);

// How the request's code is counted: its destination's way, else in code points.
const LengthRule& LengthRuleOf(const ConversionRequest& request);

// The smallest step whose whole code is at most limit long, counted as
// LengthRuleOf says, and writes at most maxTags colour tags.
StepFit FitConversion(std::u16string_view input, const ConversionRequest& request, std::uint64_t limit,
                      std::uint64_t maxTags = UINT64_MAX);

// The length and colour tags of the code at a step (the step text's for none).
CodeMeasure MeasureConversion(std::u16string_view input, const ConversionRequest& request,
                              std::optional<std::int32_t> step = std::nullopt);

// WCAG's large text is 18 point, or 14 point bold: of the sizes 1 to 7 (10, 13,
// 16, 18, 24, 32, 48 pixels) that is 5 and up either way, so bold alone is not.
bool LargeText(const StyleOptions& styles);

// The target a request's units are held to: its readable goal, else WCAG AA.
ContrastTarget TargetOf(const ConversionRequest& request);

// How the units of a code read on the request's background. Without a background
// there is nothing to measure and every figure stays 0.
struct ContrastReport {
    ContrastTarget target;
    std::size_t units = 0; // coloured units
    std::size_t under = 0; // of them, under the target
    Rgb worst;             // the unit farthest under (or nearest to) the target
    double worstRatio = 0, worstLc = 0;
    // Through the readable filter: how many units changed colour, and by how much (Oklab).
    std::size_t changed = 0;
    double meanChange = 0, largestChange = 0;
};
ContrastReport MeasureContrast(std::u16string_view input, const ConversionRequest& request,
                               std::optional<std::int32_t> step = std::nullopt);

} // namespace velmorant
