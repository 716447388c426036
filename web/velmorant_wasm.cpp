// The page's door into the conversion core: a C interface over plain memory.
// The script writes UTF-16 text into buffers the module hands out, sets the
// settings one by one, then asks for the code, the fitting step or the colours
// of the preview's units. Everything that decides the code happens in the core;
// this file only moves values across.

#include "core/colour/colour.h"
#include "core/colour/colour_text.h"
#include "core/colour/css_colour.h"
#include "core/colour/gradient.h"
#include "core/colour/mixing.h"
#include "core/colour/palettes.h"
#include "core/conversion/conversion.h"
#include "core/conversion/description.h"
#include "core/markup/counting_sink.h"
#include "core/markup/decode.h"
#include "core/markup/formats.h"
#include "core/markup/markup_sink.h"
#include "core/markup/utf8_sink.h"
#include "core/text/utf8.h"
#include "preview/preview_layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#define VM_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace {

using namespace velmorant;

struct State {
    ConversionRequest request = ConversionRequest::Startup();
    std::vector<Rgb> stops; // gathered by vm_add_stop, taken by vm_use_stops
    std::u16string scratch; // settings text from the script
    std::string bytes;      // the text to convert as the script hands it over, UTF-8
    std::u16string input;   // the text to convert
    std::string code;       // the code, UTF-8
    std::size_t codePoints = 0;
    std::u16string result;           // the code or any other text handed back
    std::vector<std::int32_t> units; // the preview's units: offset, length, 0xRRGGBB
    std::vector<std::int32_t> strip; // the gradient strip's colours, 0xRRGGBB
    StepFit fit;
    std::size_t tags = 0;              // colour tags of the last code
    std::vector<std::int32_t> decoded; // colours read back, 0xRRGGBB
    const Format* decodedFormat = nullptr;
};

State& Get() {
    static State state;
    return state;
}

std::uint32_t Hand(std::u16string text) {
    Get().result = std::move(text);
    return static_cast<std::uint32_t>(Get().result.size());
}

std::int32_t Packed(const Rgb& c) { return c.red << 16 | c.green << 8 | c.blue; }

// The scratch text when it is all ASCII, as every colour, blend and palette name is.
std::optional<std::string> ScratchAscii() {
    std::string ascii;
    for (const char16_t c : Get().scratch) {
        if (c > 0x7F)
            return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    return ascii;
}

} // namespace

// Room for `units` UTF-16 units of a setting's text; valid until the next call.
VM_EXPORT(vm_scratch) char16_t* vm_scratch(std::uint32_t units) {
    Get().scratch.resize(units);
    return Get().scratch.data();
}

// Room for `bytes` bytes of the text to convert, in UTF-8: the browser encodes
// and decodes UTF-8 many times faster than UTF-16, and the code comes out in the
// same bytes as the CLI's.
VM_EXPORT(vm_input_utf8) char* vm_input_utf8(std::uint32_t bytes) {
    Get().bytes.resize(bytes);
    return Get().bytes.data();
}

// The first `bytes` bytes there become the text to convert; 0 when they are not
// UTF-8 (a browser's encoder never gives such).
VM_EXPORT(vm_take_input) int vm_take_input(std::uint32_t bytes) {
    State& s = Get();
    s.input.resize(bytes + kDecodeAhead);
    std::size_t bad = 0;
    const char16_t* end = DecodeUtf8(std::string_view(s.bytes.data(), bytes), s.input.data(), bad);
    s.input.resize(end ? static_cast<std::size_t>(end - s.input.data()) : 0);
    return end != nullptr;
}

// The start-up request: the window's values.
VM_EXPORT(vm_reset) void vm_reset() { Get().request = ConversionRequest::Startup(); }

// The scratch text "name=value" sets one setting, named as the CLI names it:
// open, middle, close, step, size and font take the text; bold, italic,
// underline, strike and merge take 1 or 0. Gives 0 for no such setting.
VM_EXPORT(vm_set) int vm_set() {
    const std::u16string_view scratch = Get().scratch;
    const std::size_t equals = scratch.find(u'=');
    if (equals == std::u16string_view::npos)
        return 0;
    const std::u16string_view name = scratch.substr(0, equals), value = scratch.substr(equals + 1);
    ConversionRequest& r = Get().request;
    const std::pair<std::u16string_view, std::u16string*> texts[] = {
        {u"open", &r.tags.Open}, {u"middle", &r.tags.Middle}, {u"close", &r.tags.Close},
        {u"step", &r.step},      {u"size", &r.styles.size},   {u"font", &r.styles.font}};
    const std::pair<std::u16string_view, bool*> flags[] = {{u"bold", &r.styles.bold},
                                                           {u"italic", &r.styles.italic},
                                                           {u"underline", &r.styles.underline},
                                                           {u"strike", &r.styles.strikethrough},
                                                           {u"merge", &r.merge}};
    for (const auto& [known, text] : texts) {
        if (known == name) {
            *text = value;
            return 1;
        }
    }
    for (const auto& [known, flag] : flags) {
        if (known == name) {
            *flag = value == u"1";
            return 1;
        }
    }
    return 0;
}

// The scratch text read as a colour, 0xRRGGBB, or -1 when it is not one.
VM_EXPORT(vm_colour) std::int32_t vm_colour() {
    std::string ascii;
    for (const char16_t c : Get().scratch) {
        if (c > 0x7F)
            return -1;
        ascii.push_back(static_cast<char>(c));
    }
    const std::optional<Rgb> colour = ReadColourText(ascii);
    return colour ? Packed(*colour) : -1;
}

// One more colour stop, 0xRRGGBB.
VM_EXPORT(vm_add_stop) void vm_add_stop(std::int32_t rgb) {
    Get().stops.push_back({static_cast<Channel>(rgb >> 16 & 0xFF), static_cast<Channel>(rgb >> 8 & 0xFF),
                           static_cast<Channel>(rgb & 0xFF)});
}

// The stops added since the last call become the gradient.
VM_EXPORT(vm_use_stops) void vm_use_stops() {
    Get().request.gradient.stops = std::move(Get().stops);
    Get().request.gradient.exact.clear();
    Get().request.gradient.positions.clear();
    Get().stops.clear();
}

// The scratch text as CSS stops ("red, blue 30%, lime"), as --colours reads them,
// become the gradient's stops: 1, or 0 (and nothing changes) when they are not stops.
VM_EXPORT(vm_set_stops_css) int vm_set_stops_css() {
    const std::optional<std::string> text = ScratchAscii();
    Gradient read = Get().request.gradient;
    std::string_view bad;
    if (!text || !ReadStops(*text, read, bad))
        return 0;
    Get().request.gradient = std::move(read);
    return 1;
}

// The scratch text as a blend ("oklch longer hue"), as --blend reads it: 1, or 0
// when it is none.
VM_EXPORT(vm_set_blend_css) int vm_set_blend_css() {
    const std::optional<std::string> text = ScratchAscii();
    const std::optional<Blend> blend = text ? ReadBlend(*text) : std::nullopt;
    if (blend)
        Get().request.gradient.blend = *blend;
    return blend.has_value();
}

// The palette named by the scratch text, stops and blend, as --palette: 1, or 0 for no such palette.
VM_EXPORT(vm_set_palette) int vm_set_palette() {
    const std::optional<std::string> name = ScratchAscii();
    return name && ApplyPalette(*name, Get().request.gradient);
}

// The gradient's colours from its first stop to its last at `count` (>= 2) even
// places, as the core gives them; how many (0 for a gradient without two good
// stops). vm_strip_colours points at them, 0xRRGGBB each.
VM_EXPORT(vm_strip) std::uint32_t vm_strip(std::uint32_t count) {
    State& s = Get();
    s.strip.clear();
    const Gradient& gradient = s.request.gradient;
    if (count < 2 || count > (1u << 24) || CheckConversion(u"", s.request) != ConversionProblem::None)
        return 0;
    GradientWalker walker(gradient, 1, static_cast<std::int32_t>(count - 1), 0);
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(count); ++i) {
        walker.MoveTo(i);
        s.strip.push_back(Packed(walker.Colour()));
    }
    return static_cast<std::uint32_t>(s.strip.size());
}
VM_EXPORT(vm_strip_colours) const std::int32_t* vm_strip_colours() { return Get().strip.data(); }

// What would stop the conversion, asked first since a throw here traps:
// 0 nothing, 1 a text too long, 2 a gradient without two good stops.
VM_EXPORT(vm_check) int vm_check() {
    switch (CheckConversion(Get().input, Get().request)) {
    case ConversionProblem::None:
        return 0;
    case ConversionProblem::TextTooLong:
        return 1;
    default:
        return 2;
    }
}

VM_EXPORT(vm_result) const char16_t* vm_result() { return Get().result.data(); }

// The code for the input in UTF-8, at `step` or, for 0, at the step text's step,
// encoded and counted as the CLI does. Gives its length in bytes; vm_code points at it.
VM_EXPORT(vm_convert) std::uint32_t vm_convert(std::int32_t step) {
    State& s = Get();
    s.code.clear();
    Utf8ChunkSink utf8(std::size_t{1} << 20, [&s](std::string_view chunk) { s.code.append(chunk); });
    CountingSink counting(utf8);
    s.tags = WriteConversion(s.input, s.request, counting, step > 0 ? std::optional(step) : std::nullopt).tagPairs;
    utf8.Finish();
    s.codePoints = counting.CodePoints();
    return static_cast<std::uint32_t>(s.code.size());
}

VM_EXPORT(vm_code) const char* vm_code() { return Get().code.data(); }

// The code's length as forums count it.
VM_EXPORT(vm_code_points) double vm_code_points() { return static_cast<double>(Get().codePoints); }

// The smallest step whose code is at most `limit` code points, 0 for none;
// vm_fit_length and vm_fit_shortest_step tell the rest.
VM_EXPORT(vm_fit) std::int32_t vm_fit(double limit) {
    Get().fit = FitConversion(Get().input, Get().request, static_cast<std::uint64_t>(limit));
    return Get().fit.step.value_or(0);
}
VM_EXPORT(vm_fit_length) double vm_fit_length() { return static_cast<double>(Get().fit.length); }
VM_EXPORT(vm_fit_shortest_step) std::int32_t vm_fit_shortest_step() { return Get().fit.shortestStep; }

// The units within the first `limit` characters of the trimmed input, as offset
// into the input, length and colour; gives how many. A step above 0 stands in
// for the step text (the one fit chose).
VM_EXPORT(vm_preview) std::uint32_t vm_preview(std::int32_t step, std::uint32_t limit) {
    State& s = Get();
    s.units.clear();
    for (const PreviewSpan& span :
         PreviewSpans(s.input, s.request, step > 0 ? std::optional(step) : std::nullopt, limit)) {
        s.units.push_back(span.offset);
        s.units.push_back(span.length);
        s.units.push_back(Packed(span.colour));
    }
    return static_cast<std::uint32_t>(s.units.size() / 3);
}
VM_EXPORT(vm_preview_units) const std::int32_t* vm_preview_units() { return Get().units.data(); }

// The preview's font size in points for the size text, as the window maps it.
VM_EXPORT(vm_preview_points) double vm_preview_points() { return MapPreviewSize(Get().request.styles.size); }

// The one description of formats, blends, palettes, forums, start-up values,
// sizes and fonts, as JSON; vm_result points at it. The page builds its lists
// from it and names things by the names it holds.
VM_EXPORT(vm_description) std::uint32_t vm_description() {
    const Utf8Decoded json = DecodeUtf8(DescriptionJson());
    return Hand(json.text);
}

// The format named by the scratch text, with its own template; 0 when no
// format has that name (nothing changes then).
VM_EXPORT(vm_set_format) int vm_set_format() {
    const Format* format = FindFormat(EncodeUtf8(Get().scratch));
    if (!format)
        return 0;
    Get().request.format = format;
    Get().request.tags = format->Template();
    return 1;
}

// The styles asked for that the format has no spelling for, as a JSON list of
// names ("bold", "size", ...); vm_result points at it.
VM_EXPORT(vm_missing_styles) std::uint32_t vm_missing_styles() {
    std::string json = "[";
    for (const std::string_view name : MissingStyles(*Get().request.format, Get().request.styles))
        json += (json.size() > 1 ? ",\"" : "\"") + std::string(name) + "\"";
    return Hand(DecodeUtf8(json + "]").text);
}

// Colour tags in the last code vm_convert wrote.
VM_EXPORT(vm_code_tags) double vm_code_tags() { return static_cast<double>(Get().tags); }

// As vm_fit, with at most maxTags colour tags too; vm_fit_tags tells the
// chosen step's tags (or the shortest step's when none fits).
VM_EXPORT(vm_fit_within) std::int32_t vm_fit_within(double limit, double maxTags) {
    Get().fit = FitConversion(Get().input, Get().request, static_cast<std::uint64_t>(limit),
                              maxTags >= 0 ? static_cast<std::uint64_t>(maxTags) : UINT64_MAX);
    return Get().fit.step.value_or(0);
}
VM_EXPORT(vm_fit_tags) double vm_fit_tags() { return static_cast<double>(Get().fit.tags); }

// Reads the input back as a code: in the current format and template, or, for
// detect, in the format that reads most of it. The text goes to vm_result (its
// length is returned); vm_decoded_colours lists the colours read.
VM_EXPORT(vm_decode) std::uint32_t vm_decode(int detect) {
    State& s = Get();
    const Format& format = detect ? DetectFormat(s.input) : *s.request.format;
    const DecodedCode decoded = DecodeCode(s.input, format, detect ? format.Template() : s.request.tags);
    s.decodedFormat = &format;
    s.decoded.clear();
    for (const Rgb& colour : decoded.colours)
        s.decoded.push_back(Packed(colour));
    return Hand(decoded.text);
}
VM_EXPORT(vm_decoded_count) std::uint32_t vm_decoded_count() {
    return static_cast<std::uint32_t>(Get().decoded.size());
}
VM_EXPORT(vm_decoded_colours) const std::int32_t* vm_decoded_colours() { return Get().decoded.data(); }

// The name of the format the last vm_decode read; vm_result points at it.
VM_EXPORT(vm_decoded_format) std::uint32_t vm_decoded_format() {
    const Format* format = Get().decodedFormat;
    return Hand(DecodeUtf8(format ? format->name : std::string_view()).text);
}

// Debian's wasm32 C++ runtime has no exceptions: a throw stops the module with a
// trap, which the page answers by loading it again.
extern "C" void* __cxa_allocate_exception(std::size_t) { __builtin_trap(); }
extern "C" void __cxa_throw(void*, void*, void (*)(void*)) { __builtin_trap(); }
