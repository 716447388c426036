// The page's door into the conversion core: a C interface over plain memory.
// The script writes UTF-16 text into buffers the module hands out, sets the
// settings one by one, then asks for the code, the fitting step or the colours
// of the preview's units. Everything that decides the code happens in the core;
// this file only moves values across.

#include "codegen/colour.h"
#include "codegen/colour_text.h"
#include "codegen/conversion.h"
#include "codegen/counting_sink.h"
#include "codegen/gradient_stops.h"
#include "codegen/markup_sink.h"
#include "codegen/tag_template.h"
#include "codegen/utf8.h"
#include "codegen/utf8_sink.h"
#include "preview/preview_layout.h"

#include <cstdint>
#include <string>
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
    StepFit fit;
};

State& Get() {
    static State state;
    return state;
}

std::u16string& Setting(ConversionRequest& request, int field) {
    switch (field) {
    case 0:
        return request.tags.Open;
    case 1:
        return request.tags.Middle;
    case 2:
        return request.tags.Close;
    case 3:
        return request.step;
    case 4:
        return request.styles.size;
    default:
        return request.styles.font;
    }
}

std::uint32_t Hand(std::u16string text) {
    Get().result = std::move(text);
    return static_cast<std::uint32_t>(Get().result.size());
}

std::int32_t Packed(const Rgb& c) { return c.red << 16 | c.green << 8 | c.blue; }

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

// The scratch text becomes field 0 open, 1 middle, 2 close, 3 step, 4 size, 5 font.
VM_EXPORT(vm_set_text) void vm_set_text(int field) { Setting(Get().request, field) = Get().scratch; }

// 0 start-up, 1 html, 2 ubb, 3 qq: what the code is for. The template texts are
// set on their own, as the user may have edited them.
VM_EXPORT(vm_set_dialect) void vm_set_dialect(int dialect) { Get().request.dialect = static_cast<Dialect>(dialect); }

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
    Get().stops.clear();
}

// Bits: 1 Oklab, 2 merge, 4 bold, 8 italic, 16 underline, 32 strike-through.
VM_EXPORT(vm_set_flags) void vm_set_flags(int flags) {
    ConversionRequest& r = Get().request;
    r.gradient.blend = flags & 1 ? Blend::Oklab : Blend::Srgb;
    r.merge = flags & 2;
    r.styles.bold = flags & 4;
    r.styles.italic = flags & 8;
    r.styles.underline = flags & 16;
    r.styles.strikethrough = flags & 32;
}

// Part 0 open, 1 middle, 2 close of the dialect's template (numbered as for
// vm_set_dialect); parts 3 step, 4 size, 5 font, 6 start colour and 7 end colour:
// their start-up values. vm_result points at the text.
VM_EXPORT(vm_preset) std::uint32_t vm_preset(int dialect, int part) {
    const TagTemplate tags = TemplateFor(static_cast<Dialect>(dialect));
    const ConversionRequest startup = ConversionRequest::Startup();
    switch (part) {
    case 0:
        return Hand(tags.Open);
    case 1:
        return Hand(tags.Middle);
    case 2:
        return Hand(tags.Close);
    case 3:
        return Hand(startup.step);
    case 4:
        return Hand(startup.styles.size);
    case 5:
        return Hand(startup.styles.font);
    case 6:
        return Hand(ColourCode(startup.gradient.stops.front()));
    default:
        return Hand(ColourCode(startup.gradient.stops.back()));
    }
}

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
    WriteConversion(s.input, s.request, counting, step > 0 ? std::optional(step) : std::nullopt);
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

// Debian's wasm32 C++ runtime has no exceptions: a throw stops the module with a
// trap, which the page answers by loading it again.
extern "C" void* __cxa_allocate_exception(std::size_t) { __builtin_trap(); }
extern "C" void __cxa_throw(void*, void*, void (*)(void*)) { __builtin_trap(); }
