#pragma once
// The rules written out as plainly as they are stated, for the tests, fuzzers and
// benchmarks to hold the fast forms to. Nothing in the program calls these: the
// program converts through core/conversion/conversion.h and takes its colours from
// GradientWalker.

#include "core/colour/channel_stepper.h"
#include "core/colour/colour.h"
#include "core/colour/gradient.h"
#include "core/colour/oklab.h"
#include "core/conversion/conversion.h"
#include "core/markup/formats.h"
#include "core/markup/markup_sink.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmorant {

// start + (end - start) * i / n, the product exact in 64 bits, the division in
// double precision, rounded to nearest with halves to even. n > 0.
inline Channel InterpolateChannel(Channel start, Channel end, std::int32_t i, std::int32_t n) {
    const std::int64_t product = (static_cast<std::int64_t>(end) - start) * i;
    const double value = std::nearbyint(static_cast<double>(product) / n + start);
    // Only reachable with i outside 0..n or n = 0; an overflow, never a wrap-around.
    if (!(value >= -32768.0 && value <= 32767.0))
        throw std::overflow_error("InterpolateChannel: result outside 16 bits");
    return static_cast<Channel>(value);
}

// The colour of position i of n on the way from pair.start to pair.end.
inline Rgb BlendAt(const ColourPair& pair, std::int32_t i, std::int32_t n) {
    return {InterpolateChannel(pair.start.red, pair.end.red, i, n),
            InterpolateChannel(pair.start.green, pair.end.green, i, n),
            InterpolateChannel(pair.start.blue, pair.end.blue, i, n)};
}

// The colour at position i of n, straight from the definition: for the window's
// rule c_j + (c_j+1 - c_j) * (i * m - j * n) / n per channel, exact, rounded half
// to even; in any other blend the mix at that fraction, converted afresh.
inline Rgb GradientAt(const Gradient& gradient, std::int32_t i, std::int32_t n) {
    if (!gradient.IntegerRule())
        return MixAtPosition(gradient, i, n);
    const auto m = static_cast<std::int64_t>(gradient.stops.size()) - 1;
    const std::int64_t j = SegmentOf(i, n, m);
    const std::int64_t r = i * m - j * n; // i's offset into the segment, in n-ths of a segment
    const Rgb& from = gradient.stops[static_cast<std::size_t>(j)];
    const Rgb& to = gradient.stops[static_cast<std::size_t>(j + 1)];
    const auto mix = [&](Channel a, Channel b) {
        std::int64_t quotient = 0, remainder = 0;
        FloorDivMod((static_cast<std::int64_t>(b) - a) * r, n, quotient, remainder);
        return static_cast<Channel>(RoundHalfEven(a + quotient, remainder, n));
    };
    return {mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue)};
}

// The window's gradient code without style tags: two colours, an untrimmed input
// and a step text.
inline void WriteGradientMarkup(std::u16string_view input, std::u16string_view stepText, const ColourPair& colours,
                                const TagTemplate& tags, MarkupSink& sink) {
    ConversionRequest request;
    request.gradient = {{colours.start, colours.end}, Blend::Srgb};
    request.tags = tags;
    request.step = stepText;
    WriteConversion(input, request, sink);
}

// The same code as one string, measured by a first run so that it is allocated once.
inline std::u16string ComposeGradientMarkup(std::u16string_view input, std::u16string_view stepText,
                                            const ColourPair& colours, const TagTemplate& tags) {
    struct Count final : MarkupSink {
        void Write(std::u16string_view piece) override { size += piece.size(); }
        std::size_t size = 0;
    } count;
    WriteGradientMarkup(input, stepText, colours, tags, count);
    StringSink whole;
    whole.text.reserve(count.size);
    WriteGradientMarkup(input, stepText, colours, tags, whole);
    return std::move(whole.text);
}

// before + code + after.
inline std::u16string WrapInStyleTags(std::u16string_view code, const StyleOptions& styles) {
    const StyleTags tags = StyleTagsFor(styles);
    std::u16string result;
    result.reserve(tags.before.size() + code.size() + tags.after.size());
    return result.append(tags.before).append(code).append(tags.after);
}

} // namespace velmorant
