// The generator against the floor it cannot beat: copying the same number of
// output bytes into a fresh buffer. Beside it the CLI's streaming path: the same
// code made in pieces and encoded to UTF-8 chunk by chunk, never held whole.

#include "core/colour/css_colour.h"
#include "core/colour/gradient.h"
#include "core/colour/mixing.h"
#include "core/colour/palettes.h"
#include "core/conversion/step_fit.h"
#include "core/markup/gradient_markup.h"
#include "core/markup/utf8_sink.h"
#include "core/text/graphemes.h"
#include "reference_rules.h"

#include <benchmark/benchmark.h>

#include <string>

namespace velmorant {
namespace {

const ColourPair StartUpPair{{255, 0, 255}, {0, 255, 0}};

// Forum-reply text: Chinese and Latin, blanks inside, a line break per sentence.
std::u16string SampleText(std::size_t length) {
    static const std::u16string sentence = u"渐变色彩的文字 makes a forum reply stand out, 每个字都有自己的颜色。\r\n";
    std::u16string text;
    text.reserve(length + sentence.size());
    while (text.size() < length)
        text += sentence;
    text.resize(length);
    text.back() = u'x'; // keep the length when the generator trims
    return text;
}

void Compose(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<std::size_t>(state.range(0)));
    const TagTemplate tags = TemplateFor(kDefaultFormat);
    std::size_t outputSize = 0;
    for (auto _ : state) {
        std::u16string markup = ComposeGradientMarkup(text, u"1", StartUpPair, tags);
        benchmark::DoNotOptimize(markup.data());
        outputSize = markup.size();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(outputSize * sizeof(char16_t)));
}

void PlainCopy(benchmark::State& state) {
    const std::u16string source = ComposeGradientMarkup(SampleText(static_cast<std::size_t>(state.range(0))), u"1",
                                                        StartUpPair, TemplateFor(kDefaultFormat));
    for (auto _ : state) {
        std::u16string copy(source);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(source.size() * sizeof(char16_t)));
}

// The CLI's path without the file system: UTF-8 chunks, each looked at and dropped.
void StreamUtf8(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<std::size_t>(state.range(0)));
    const TagTemplate tags = TemplateFor(kDefaultFormat);
    std::size_t outputSize = 0;
    for (auto _ : state) {
        outputSize = 0;
        Utf8ChunkSink sink(64 * 1024, [&](std::string_view chunk) {
            benchmark::DoNotOptimize(chunk.data());
            outputSize += chunk.size();
        });
        WriteGradientMarkup(text, u"1", StartUpPair, tags, sink);
        sink.Finish();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(outputSize));
}

// Counts the code's units and drops them: the generator's cost without a destination.
struct DropSink final : MarkupSink {
    void Write(std::u16string_view piece) override {
        benchmark::DoNotOptimize(piece.data());
        size += piece.size();
    }
    std::size_t size = 0;
};

// The generator alone, its blocks dropped as they come: what the unit loop costs.
void StreamUtf16(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<std::size_t>(state.range(0)));
    const TagTemplate tags = TemplateFor(kDefaultFormat);
    std::size_t outputSize = 0;
    for (auto _ : state) {
        DropSink sink;
        WriteGradientMarkup(text, u"1", StartUpPair, tags, sink);
        outputSize = sink.size;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(outputSize * sizeof(char16_t)));
}

// The command line's forms through the same unit loop, 1 M characters each; the
// two-colour case is the one to compare with.
enum class Form { TwoColours, Merge, FourStops, Oklab, MergeOklabFourStops, Clusters, ClustersEndStops };

void Forms(benchmark::State& state, Form form) {
    const std::u16string input = SampleText(static_cast<std::size_t>(state.range(0)));
    const UnitRule rule{form == Form::Clusters || form == Form::ClustersEndStops, form == Form::ClustersEndStops};
    const GradientText text = PrepareGradientText(input, u"1", rule);
    const TagTemplate tags = TemplateFor(kDefaultFormat);
    const bool fourStops = form == Form::FourStops || form == Form::MergeOklabFourStops;
    const Gradient gradient{fourStops ? std::vector<Rgb>{{255, 0, 255}, {255, 165, 0}, {0, 255, 0}, {0, 0, 255}}
                                      : std::vector<Rgb>{StartUpPair.start, StartUpPair.end},
                            form == Form::Oklab || form == Form::MergeOklabFourStops ? Blend::Oklab : Blend::Srgb};
    const MarkupForm shape{CodeStyle::Hex, form == Form::Merge || form == Form::MergeOklabFourStops};
    std::size_t outputSize = 0;
    for (auto _ : state) {
        DropSink sink;
        WriteGradientMarkup(text, gradient, tags, shape, sink);
        outputSize = sink.size;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(outputSize * sizeof(char16_t)));
}

// One row per family of CSS spaces, 1 M characters from magenta to green like
// TwoColours above, which they are held to: at most twice its time.
void Blends(benchmark::State& state, const char* blend) {
    const std::u16string input = SampleText(static_cast<std::size_t>(state.range(0)));
    const GradientText text = PrepareGradientText(input, u"1");
    const TagTemplate tags = TemplateFor(kDefaultFormat);
    Gradient gradient{{StartUpPair.start, StartUpPair.end}, ReadBlend(blend).value_or(Blend::Srgb)};
    if (std::string_view(blend) == "rainbow")
        ApplyPalette("rainbow", gradient);
    std::size_t outputSize = 0;
    for (auto _ : state) {
        DropSink sink;
        GradientWalker colours(gradient, text.step, text.length);
        WriteGradientMarkup(text, colours, tags, {CodeStyle::Hex, false}, sink);
        outputSize = sink.size;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(outputSize * sizeof(char16_t)));
}

// --fit's worst case: no step fits, so every step's length is counted.
void FitScan(benchmark::State& state, bool merge) {
    const std::u16string input = SampleText(static_cast<std::size_t>(state.range(0)));
    const GradientText text = PrepareGradientText(input, u"1");
    const Gradient gradient{{StartUpPair.start, StartUpPair.end}, Blend::Srgb};
    const OutputLengths lengths(text.text, gradient, {TemplateFor(kDefaultFormat), {CodeStyle::Hex, merge}, {}});
    for (auto _ : state)
        benchmark::DoNotOptimize(FitStep(lengths, text.length, 0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Cutting into units of whole grapheme clusters beside cutting by char16.
void CutUnits(benchmark::State& state, bool graphemes) {
    const std::u16string text = SampleText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::size_t units = 0;
        if (graphemes)
            ForEachGraphemeUnit(text, 1, [&](Unit) { ++units; });
        else
            ForEachUnit(text, 1, [&](Unit) { ++units; });
        benchmark::DoNotOptimize(units);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK_CAPTURE(Forms, TwoColours, Form::TwoColours)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Forms, Merge, Form::Merge)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Forms, FourStops, Form::FourStops)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Forms, Oklab, Form::Oklab)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Forms, MergeOklabFourStops, Form::MergeOklabFourStops)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Forms, Clusters, Form::Clusters)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Forms, ClustersEndStops, Form::ClustersEndStops)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Blends, SrgbLinear, "srgb-linear")->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Blends, DisplayP3, "display-p3")->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Blends, Xyz, "xyz")->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Blends, Lab, "lab")->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Blends, LchLonger, "lch longer hue")->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Blends, OklchRainbow, "rainbow")->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Blends, Hsl, "hsl")->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Blends, Hwb, "hwb longer hue")->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FitScan, AllSteps, false)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FitScan, AllStepsMerged, true)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CutUnits, Char16, false)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CutUnits, Graphemes, true)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

BENCHMARK(Compose)->Arg(1'000)->Arg(100'000)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainCopy)->Arg(1'000)->Arg(100'000)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(StreamUtf8)->Arg(1'000)->Arg(100'000)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(StreamUtf16)->Arg(1'000)->Arg(100'000)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace velmorant

BENCHMARK_MAIN();
