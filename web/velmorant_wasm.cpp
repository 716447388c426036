// The page's door into the conversion core: a C interface over plain memory.
// The script writes the text and the settings (as "name=value" lines) into
// buffers the module hands out; each call answers with one JSON report whose
// fields are named, and whose bulk parts (the code, the preview's units, the
// strip) lie in buffers it gives the size of. Everything that decides a value
// happens in the core; this file only moves values across and names them.

#include "core/colour/colour.h"
#include "core/colour/css_colour.h"
#include "core/colour/gradient.h"
#include "core/colour/mixing.h"
#include "core/colour/palettes.h"
#include "core/conversion/conversion.h"
#include "core/conversion/description.h"
#include "core/conversion/destinations.h"
#include "core/conversion/read_back.h"
#include "core/conversion/settings.h"
#include "core/markup/counting_sink.h"
#include "core/markup/decode.h"
#include "core/markup/formats.h"
#include "core/markup/utf8_sink.h"
#include "core/text/text.h"
#include "core/text/utf8.h"
#include "preview/preview_layout.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#define VM_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace velmorant {
namespace {

// --- JSON ----------------------------------------------------------------------

template <class Text> std::string Quoted(const Text& text) { return JsonQuoted(text); }

// Plain digits, as JSON and the page want them; whole numbers without a point.
std::string Number(double value) {
    if (!std::isfinite(value))
        return "null";
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.17g", value);
    double shorter = 0;
    for (int places = 1; places < 17; ++places) {
        char trial[32];
        std::snprintf(trial, sizeof trial, "%.*g", places, value);
        if (std::sscanf(trial, "%lf", &shorter) == 1 && shorter == value)
            return trial;
    }
    return digits;
}
std::string Number(std::optional<std::uint64_t> value) { return value ? std::to_string(*value) : "null"; }
std::string Bool(bool value) { return value ? "true" : "false"; }
std::string Hex(const Rgb& c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", c.red & 0xFF, c.green & 0xFF, c.blue & 0xFF);
    return hex;
}

// One problem the core's way, for the problems the conversion finds itself.
std::string ProblemJson(const SettingProblem& p) {
    const std::string list = SettingProblemsJson({&p, 1});
    return list.substr(1, list.size() - 2);
}

std::string StopsJson(const StopList& list) {
    std::string out = "[";
    for (std::size_t j = 0; j < list.rows.size(); ++j) {
        const StopRow& row = list.rows[j];
        out += (j ? ",{" : "{") + std::string("\"text\":") + Quoted(row.text) + ",\"colour\":" + Quoted(row.colour) +
               ",\"position\":" + (row.position ? Number(*row.position * 100) : "null") +
               ",\"at\":" + Number(list.at[j] * 100) +
               ",\"rgb\":" + (row.read ? Quoted(Hex(ToRgb(row.read->colour))) : "null") + "}";
    }
    return out + "]";
}

// A stop list's rows and its problem, as the stop editor wants them: the
// colours setting's own reading of it.
std::string StopListJson(std::string_view text) {
    Settings scratch;
    const std::vector<SettingProblem> problems = ApplySettings(scratch, u"colours=" + DecodeUtf8(text).text);
    return "{\"stops\":" + StopsJson(ReadStopList(text)) + ",\"problems\":" + SettingProblemsJson(problems) + "}";
}

// --- the module's state ---------------------------------------------------------

struct State {
    Settings settings;
    std::u16string scratch;          // settings or a stop list from the script
    std::string bytes;               // the text to convert as handed over, UTF-8
    std::u16string input;            // the text to convert
    std::string code;                // the last code, UTF-8
    std::vector<std::int32_t> units; // the preview's units: offset, length, 0xRRGGBB
    std::vector<std::int32_t> strip; // the strip's colours, 0xRRGGBB
    std::string json;                // the last report
};

State& Get() {
    static State state;
    return state;
}

std::uint32_t Report(std::string json) {
    Get().json = std::move(json);
    return static_cast<std::uint32_t>(Get().json.size());
}

// The gradient in use as stop rows, as the colours setting reads it back.
std::string GradientStopsJson() {
    return StopsJson(ReadStopList(EncodeUtf8(FindSetting("colours")->read(Get().settings))));
}

} // namespace
} // namespace velmorant

using namespace velmorant;

// Room for `length` char16s of settings or a stop list; valid until the next call.
VM_EXPORT(vm_scratch) char16_t* vm_scratch(std::uint32_t length) {
    Get().scratch.resize(length);
    return Get().scratch.data();
}

// Room for `bytes` bytes of the text to convert, in UTF-8: the browser encodes
// and decodes UTF-8 many times faster than UTF-16, and the code comes out in the
// same bytes as the CLI's.
VM_EXPORT(vm_input_utf8) char* vm_input_utf8(std::uint32_t bytes) {
    Get().bytes.resize(bytes);
    return Get().bytes.data();
}

// The first `bytes` bytes there become the text to convert; false when they are
// not UTF-8 (a browser's encoder never gives such).
VM_EXPORT(vm_take_input) bool vm_take_input(std::uint32_t bytes) {
    State& s = Get();
    s.input.resize(bytes + kDecodeAhead);
    std::size_t bad = 0;
    const char16_t* end = DecodeUtf8(std::string_view(s.bytes.data(), bytes), s.input.data(), bad);
    s.input.resize(end ? static_cast<std::size_t>(end - s.input.data()) : 0);
    return end != nullptr;
}

// The last report, UTF-8 JSON; its length is what the call gave.
VM_EXPORT(vm_json) const char* vm_json() { return Get().json.data(); }

// The one description of settings, formats, blends, palettes, destinations, sizes and
// fonts, with the bounds on stops, a setting's length and the text.
VM_EXPORT(vm_description) std::uint32_t vm_description() {
    std::string json = DescriptionJson();
    json.pop_back();
    return Report(json + ",\"bounds\":{\"stops\":" + std::to_string(kMaxStops) + ",\"setting\":" +
                  std::to_string(kMaxSettingLength) + ",\"text\":" + std::to_string(kMaxTextChar16s) + "}}");
}

// The scratch text as "name=value" lines, in any order, over the start-up
// settings: {"problems":[...]}, each naming its setting.
VM_EXPORT(vm_set) std::uint32_t vm_set() {
    State& s = Get();
    s.settings = Settings{};
    return Report("{\"problems\":" + SettingProblemsJson(ApplySettings(s.settings, s.scratch)) + "}");
}

// The scratch text as a stop list: {"stops":[{text, colour, position, at, rgb}],
// "problems":[...]}, positions in percent, `at` where CSS places the stop.
VM_EXPORT(vm_stops) std::uint32_t vm_stops() {
    const std::u16string_view text = Get().scratch;
    if (text.size() > kMaxSettingLength)
        return Report("{\"stops\":[],\"problems\":[" +
                      ProblemJson({"colours", "too-long", std::u16string(text.substr(0, 40)), std::nullopt}) + "]}");
    return Report(StopListJson(EncodeUtf8(text)));
}

// Converts the text with the settings: the report names every result. The code
// (UTF-8) lies at vm_code, the preview's units (offset, length, 0xRRGGBB each,
// for the first `previewCharacters` characters) at vm_preview_units, and
// `stripColours` colours of the gradient, first stop to last, at
// vm_strip_colours; all three stay until the next call.
VM_EXPORT(vm_convert) std::uint32_t vm_convert(std::uint32_t previewCharacters, std::uint32_t stripColours) {
    State& s = Get();
    s.code.clear();
    s.units.clear();
    s.strip.clear();
    const ConversionRequest& request = s.settings.request;
    const std::optional<std::uint64_t> fit = LengthLimit(s.settings), maxTags = TagLimit(s.settings);
    const ConversionProblem check = CheckConversion(s.input, request);
    std::string missing = "[";
    for (const std::string_view name : MissingStyles(*request.format, request.styles))
        missing += (missing.size() > 1 ? "," : "") + Quoted(name);
    missing += "]";
    // What the place cannot show, and what is written instead.
    std::string unshown = "[";
    for (const Substitution& sub : Substitutions(s.input, request))
        unshown += (unshown.size() > 1 ? ",{" : "{") + std::string("\"typed\":") + Quoted(sub.typed) +
                   ",\"written\":" + Quoted(sub.written) + ",\"times\":" + std::to_string(sub.times) + "}";
    unshown += "]";
    std::string json =
        "{\"limits\":{\"fit\":" + Number(fit) + ",\"maxTags\":" + Number(maxTags) + "},\"missingStyles\":" + missing +
        ",\"unshown\":" + unshown + ",\"colours\":{\"start\":" + Quoted(Hex(request.gradient.stops.front())) +
        ",\"end\":" + Quoted(Hex(request.gradient.stops.back())) + ",\"stops\":" + GradientStopsJson() + "}";
    if (CheckConversion(u"", request) == ConversionProblem::None && stripColours >= 2 && stripColours <= (1u << 16)) {
        GradientWalker walker(request.gradient, 1, static_cast<std::int32_t>(stripColours - 1), 0);
        for (std::int32_t i = 0; i < static_cast<std::int32_t>(stripColours); ++i) {
            walker.MoveTo(i);
            s.strip.push_back(Pack(walker.Colour()));
        }
    }
    json += ",\"strip\":" + std::to_string(s.strip.size());
    const auto failed = [&](const std::string& problem) {
        return Report(json + ",\"ok\":false,\"problems\":[" + problem +
                      "],\"code\":null,\"step\":null,\"fit\":null,\"over\":{\"length\":false,\"tags\":false},"
                      "\"preview\":null}");
    };
    if (check == ConversionProblem::TextTooLong)
        return failed(
            "{\"setting\":\"text\",\"problem\":\"text-too-long\",\"bound\":" + std::to_string(kMaxTextChar16s) + "}");
    if (check != ConversionProblem::None)
        return failed("{\"setting\":\"colours\",\"problem\":\"one-colour\"}");
    std::optional<std::int32_t> step;
    std::string fitJson = "null";
    if (fit) {
        const StepFit found = FitConversion(s.input, request, *fit, maxTags.value_or(UINT64_MAX));
        fitJson = "{\"fits\":" + Bool(found.step.has_value()) +
                  ",\"step\":" + (found.step ? std::to_string(*found.step) : "null") +
                  ",\"length\":" + std::to_string(found.length) + ",\"tags\":" + std::to_string(found.tags) +
                  ",\"shortestStep\":" + std::to_string(found.shortestStep) + "}";
        if (!found.step)
            return failed("{\"setting\":\"fit\",\"problem\":\"no-fit\",\"length\":" + std::to_string(found.length) +
                          ",\"shortestStep\":" + std::to_string(found.shortestStep) +
                          ",\"tags\":" + std::to_string(found.tags) + ",\"fit\":" + Number(fit) +
                          ",\"maxTags\":" + Number(maxTags) + "}");
        step = found.step;
    }
    Utf8ChunkSink utf8(std::size_t{1} << 20, [&s](std::string_view chunk) { s.code.append(chunk); });
    CountingSink counting(utf8, LengthRuleOf(request));
    const ConversionCounts counts = WriteConversion(s.input, request, counting, step);
    utf8.Finish();
    const std::uint64_t length = counting.Counted();
    for (const PreviewSpan& span : PreviewSpans(s.input, request, counts.step, previewCharacters)) {
        s.units.push_back(span.offset);
        s.units.push_back(span.length);
        s.units.push_back(Pack(span.colour));
    }
    // The verdict the length and tag counts show beside the code.
    const LimitVerdict over = OverLimits({length, counts.tagPairs}, fit, maxTags);
    const bool overLength = over.length, overTags = over.tags;
    std::string notes;
    if (overLength)
        notes += "{\"setting\":\"fit\",\"problem\":\"over-length\",\"length\":" + std::to_string(length) +
                 ",\"bound\":" + Number(fit) + "}";
    if (overTags)
        notes += std::string(notes.empty() ? "" : ",") +
                 "{\"setting\":\"max-tags\",\"problem\":\"over-tags\",\"tags\":" + std::to_string(counts.tagPairs) +
                 ",\"bound\":" + Number(maxTags) + "}";
    // How the units read on the background, when there is one: the page's warning.
    std::string contrast = "null";
    if (request.background) {
        const ContrastReport c = MeasureContrast(s.input, request, counts.step);
        contrast = "{\"background\":" + Quoted(Hex(*request.background)) + ",\"units\":" + std::to_string(c.units) +
                   ",\"under\":" + std::to_string(c.under) + ",\"apca\":" + Bool(c.target.apca) +
                   ",\"target\":" + Number(c.target.level) + ",\"worst\":" + Quoted(Hex(c.worst)) +
                   ",\"ratio\":" + Number(c.worstRatio) + ",\"lc\":" + Number(c.worstLc) +
                   ",\"changed\":" + std::to_string(c.changed) + ",\"meanChange\":" + Number(c.meanChange) +
                   ",\"largestChange\":" + Number(c.largestChange) + "}";
    }
    // Characters the place's encoding lacks: written as typed, the browser posts "&#N;", shown as that text.
    if (request.destination)
        for (const char32_t c : CharactersNotShown(*request.destination, s.input)) {
            const Words& place = request.destination->caption;
            const std::u16string typed = c > 0xFFFF ? std::u16string{char16_t(0xD800 + ((c - 0x10000) >> 10)),
                                                                     char16_t(0xDC00 + ((c - 0x10000) & 0x3FF))}
                                                    : std::u16string(1, char16_t(c));
            notes +=
                std::string(notes.empty() ? "" : ",") +
                "{\"setting\":\"to\",\"problem\":\"shown-as\",\"note\":true,\"place\":{\"en\":" + Quoted(place.en) +
                ",\"zh\":" + Quoted(place.zh) + "},\"typed\":" + Quoted(std::u16string_view(typed)) +
                ",\"shown\":\"&#" + std::to_string(c) + ";\"}";
        }
    const double points = MapPreviewSize(request.styles.size);
    return Report(json + ",\"ok\":true,\"problems\":[" + notes +
                  "],\"code\":{\"bytes\":" + std::to_string(s.code.size()) + ",\"length\":" + std::to_string(length) +
                  ",\"tags\":" + std::to_string(counts.tagPairs) + "},\"step\":" + std::to_string(counts.step) +
                  ",\"fit\":" + fitJson + ",\"over\":{\"length\":" + Bool(overLength) + ",\"tags\":" + Bool(overTags) +
                  "},\"contrast\":" + contrast + ",\"preview\":{\"units\":" + std::to_string(s.units.size() / 3) +
                  ",\"points\":" + (points >= 1 && points <= 200 ? Number(points) : "null") + "}}");
}

VM_EXPORT(vm_code) const char* vm_code() { return Get().code.data(); }
VM_EXPORT(vm_preview_units) const std::int32_t* vm_preview_units() { return Get().units.data(); }
VM_EXPORT(vm_strip_colours) const std::int32_t* vm_strip_colours() { return Get().strip.data(); }

// Reads the text back as a code, in the format that explains all of it (or,
// where none does, reads most of it): its text, format, step, merging, styles and
// stops placed where its units sit, and all of that as settings. A code whose
// colours need more stops than the bound, or that two formats read differently,
// gives nothing to apply, and says so.
VM_EXPORT(vm_read_back) std::uint32_t vm_read_back() {
    const std::u16string_view input = Get().input;
    const Detection found = DetectFormats(input);
    if (found.explaining.size() > 1 && !found.alike) {
        const std::string names =
            std::string(found.explaining[0]->name) + " / " + std::string(found.explaining[1]->name);
        return Report("{\"ok\":false,\"problems\":[" +
                      ProblemJson({"format", "two-formats", DecodeUtf8(names).text, std::nullopt}) + "]}");
    }
    const Format& format = found.Chosen() ? *found.Chosen() : *found.most;
    const ReadBack back = ReadCodeBack(input, format, format.Template(), Get().settings.request.Rule());
    if (!back.coloured)
        return Report("null");
    // Every setting, as the table reads it back from what was read: a fit or forum
    // would choose another step, so none is kept.
    Settings read;
    read.request.format = &format;
    read.request.tags = back.tags;
    std::string_view bad;
    if (!back.colours.empty())
        ReadStops(back.colours, read.request.gradient, bad);
    read.request.step = DecodeUtf8(std::to_string(back.step)).text;
    read.request.merge = back.merge;
    read.request.styles = back.styles;
    std::string named = "{";
    for (const Setting& row : SettingRows())
        named += (named.size() > 1 ? "," : "") + Quoted(row.name) + ":" +
                 Quoted(row.name == "colours" ? back.colours : EncodeUtf8(row.read(read)));
    const StyleOptions& st = back.styles;
    const std::string problems =
        back.tooMany ? ProblemJson({"colours", "too-many-stops", u"", std::nullopt}) : std::string();
    return Report("{\"ok\":" + Bool(!back.tooMany) + ",\"text\":" + Quoted(back.text) +
                  ",\"format\":" + Quoted(format.name) + ",\"step\":" + std::to_string(back.step) +
                  ",\"merge\":" + Bool(back.merge) + ",\"styles\":{\"bold\":" + Bool(st.bold) +
                  ",\"italic\":" + Bool(st.italic) + ",\"underline\":" + Bool(st.underline) +
                  ",\"strike\":" + Bool(st.strikethrough) + ",\"size\":" + Quoted(st.size) +
                  ",\"font\":" + Quoted(st.font) + "},\"colours\":" + Quoted(back.colours) +
                  ",\"stops\":" + (back.colours.empty() ? "[]" : StopsJson(ReadStopList(back.colours))) +
                  ",\"settings\":" + named + "},\"problems\":[" + problems + "]}");
}

// Debian's wasm32 C++ runtime has no exceptions: a throw stops the module with a
// trap, which the page answers by loading it again.
extern "C" void* __cxa_allocate_exception(std::size_t) { __builtin_trap(); }
extern "C" void __cxa_throw(void*, void*, void (*)(void*)) { __builtin_trap(); }
