#include "cli/run.h"

#include "cli/options.h"
#include "cli/read_input.h"
#include "cli/shell_quote.h"
#include "core/colour/css_colour.h"
#include "core/conversion/conversion.h"
#include "core/conversion/destinations.h"
#include "core/conversion/read_back.h"
#include "core/markup/counting_sink.h"
#include "core/markup/decode.h"
#include "core/markup/utf8_sink.h"
#include "core/text/code_points.h"
#include "core/text/utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

namespace velmorant::cli {

namespace {

// Each write to a file costs a pass through the file system: 1 MiB chunks write
// a long output faster than 64 or 256 KiB, and stay small beside the input.
constexpr std::size_t kOutputChunk = 1024 * 1024;

// Thrown by the output chunks' flush: stops the conversion at the first failed write.
struct OutputFailed {
    int error;
};

void Write(std::FILE* out, std::string_view bytes) {
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size())
        throw OutputFailed{errno ? errno : EIO};
}

void Finish(std::FILE* out) {
    errno = 0;
    if (std::fflush(out) != 0)
        throw OutputFailed{errno ? errno : EIO};
}

// Takes the input from in or from the named file; reports its own failures.
bool ReadInput(const Options& options, std::FILE* in, std::FILE* err, const std::string& inputName, InputText& input) {
    std::FILE* file = in;
    if (options.file) {
        errno = 0;
        file = std::fopen(options.file->c_str(), "rb");
        if (!file) {
            std::fprintf(err, "velmorant-cli: cannot read %s: %s\n", inputName.c_str(), std::strerror(errno));
            return false;
        }
    }
    input = ReadInputText(file);
    if (file != in)
        std::fclose(file);

    using Status = InputText::Status;
    switch (input.status) {
    case Status::kRead:
        return true;
    case Status::kUnreadable:
        std::fprintf(err, "velmorant-cli: cannot read %s: %s\n", inputName.c_str(), std::strerror(input.error));
        break;
    case Status::kNotUtf8:
        std::fprintf(err, "velmorant-cli: %s is not valid UTF-8: bad byte at offset %zu\n", inputName.c_str(),
                     input.badByte);
        break;
    case Status::kTooLong:
        std::fprintf(err,
                     "velmorant-cli: %s is too long: the limit is %zu UTF-16 code units, what 32-bit positions "
                     "can count\n",
                     inputName.c_str(), kMaxInputChar16s);
        break;
    case Status::kOutOfMemory:
        std::fprintf(err, "velmorant-cli: out of memory after reading %zu bytes of %s\n", input.bytesRead,
                     inputName.c_str());
        break;
    }
    return false;
}

// Says which options the format has nothing to act on.
void NoteUnused(const Options& options, const ConversionRequest& request, std::FILE* err) {
    const std::string_view format = request.format->name;
    const auto given = [&](std::string_view name) {
        return std::find(options.given.begin(), options.given.end(), name) != options.given.end();
    };
    if (request.format->escaping == Escaping::Terminal) {
        // The terminal shows colours only: the template's texts, the settings of text, do nothing.
        for (const Setting& row : SettingRows())
            if (const std::string_view name = row.name; row.kind == SettingKind::Text && given(name))
                std::fprintf(err, "velmorant-cli: --format %.*s writes no tags: --%.*s ignored\n",
                             static_cast<int>(format.size()), format.data(), static_cast<int>(name.size()),
                             name.data());
    }
    for (const std::string_view name : MissingStyles(*request.format, request.styles))
        if (given(name))
            std::fprintf(err, "velmorant-cli: --format %.*s %s: --%.*s ignored\n", static_cast<int>(format.size()),
                         format.data(),
                         request.format->escaping == Escaping::Terminal       ? "writes no tags"
                         : name == "font" && request.format->font.Available() ? "reads no such font name"
                                                                              : "has no such style",
                         static_cast<int>(name.size()), name.data());
}

// Characters as a person reads them in a message: each itself, or its number when it shows nothing.
std::string Named(std::u16string_view text) {
    std::string named;
    for (const char16_t c : text) {
        char number[16];
        std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(c));
        named += named.empty() ? "" : " ";
        if (c < 0x20 || c == 0x7f || c == 0xa0 || (c >= 0xd800 && c <= 0xdfff))
            named += number;
        else
            named += "\"" + EncodeUtf8(std::u16string(1, c)) + "\" (" + number + ")";
    }
    return named;
}

// Says which characters the place (or the format) cannot show and what was written instead.
void NoteUnshown(std::u16string_view input, const ConversionRequest& request, std::FILE* err) {
    const std::string place = request.destination ? std::string(request.destination->caption.en)
                                                  : "--format " + std::string(request.format->name);
    for (const Substitution& s : Substitutions(input, request))
        std::fprintf(err, "velmorant-cli: %s cannot show %s (%zu in the text): written as %s\n", place.c_str(),
                     Named(s.typed).c_str(), s.times, Named(s.written).c_str());
}

// Characters the destination cannot show are written as typed; the place shows
// what its browser posts for them ("&#N;" on a GBK page) instead.
void NoteNotShown(const ConversionRequest& request, std::u16string_view text, std::FILE* err) {
    if (!request.destination)
        return;
    for (const char32_t c : CharactersNotShown(*request.destination, text)) {
        const std::u16string one = c > 0xFFFF ? std::u16string{char16_t(0xD800 + ((c - 0x10000) >> 10)),
                                                               char16_t(0xDC00 + ((c - 0x10000) & 0x3FF))}
                                              : std::u16string(1, char16_t(c));
        std::fprintf(err, "velmorant-cli: %s cannot show U+%04X %s: written as typed, it shows as \"&#%u;\"\n",
                     request.destination->caption.en.data(), static_cast<unsigned>(c), EncodeUtf8(one).c_str(),
                     static_cast<unsigned>(c));
    }
}

// The text of a code to out exactly; to err, the options that write it again:
// stops placed where its units sit, so each unit gets the colour read, the step
// unless 1, merging and the styles read.
int Decode(const Options& options, const ConversionRequest& request, std::u16string_view code, std::FILE* out,
           std::FILE* err) {
    const auto given = [&](std::string_view name) {
        return std::find(options.given.begin(), options.given.end(), name) != options.given.end();
    };
    const bool named = given("format") || given("to") || given("open") || given("middle") || given("close");
    const auto name = [](const Format* format) { return std::string(format->name); };
    std::string note;
    const Format* format = request.format;
    if (!named) {
        // Never a guess: two formats that read the code differently are both named, and --format picks.
        const Detection found = DetectFormats(code);
        if (found.explaining.size() > 1 && !found.alike) {
            std::fprintf(err,
                         "velmorant-cli: the code reads one way as --format %s and another as --format %s: "
                         "--format picks\n",
                         name(found.explaining[0]).c_str(), name(found.explaining[1]).c_str());
            return kBadUsage;
        }
        format = found.Chosen() ? found.Chosen() : found.most;
        note = "read as --format " + name(format);
        // A format spelling its codes alike (a forum's own bbcode) is not worth naming.
        const auto other = std::find_if(found.explaining.begin(), found.explaining.end(), [&](const Format* f) {
            return f != format && (f->Template() != format->Template() || f->code != format->code);
        });
        if (other != found.explaining.end())
            note += " (--format " + name(*other) + " reads it alike)";
        if (found.explaining.empty())
            note += ", which reads most of it: no format explains all of it; --format picks another";
    }
    const ReadBack back = ReadCodeBack(code, *format, named ? request.tags : format->Template(), request.Rule());
    Write(out, EncodeUtf8(back.text));
    Finish(out);
    if (!note.empty())
        std::fprintf(err, "velmorant-cli: %s\n", note.c_str());
    if (back.tooMany)
        std::fprintf(err, "velmorant-cli: its colours need more than %zu stops: no --colours given\n", kMaxStops);
    if (back.colours.empty())
        return kSuccess;
    std::string again = "--colours " + ShellQuote(back.colours);
    // A place cuts and colours its units its own way: the stops were read for it.
    if (request.destination)
        again = "--to " + std::string(request.destination->name) + " " + again;
    if (back.step != 1)
        again += " --step " + std::to_string(back.step);
    const StyleOptions& styles = back.styles;
    const std::pair<bool, const char*> flags[] = {{back.merge, " --merge"},
                                                  {styles.bold, " --bold"},
                                                  {styles.italic, " --italic"},
                                                  {styles.underline, " --underline"},
                                                  {styles.strikethrough, " --strike"}};
    for (const auto& [on, option] : flags)
        if (on)
            again += option;
    if (!styles.size.empty())
        again += " --size " + ShellQuote(EncodeUtf8(styles.size));
    if (!styles.font.empty())
        again += " --font " + ShellQuote(EncodeUtf8(styles.font));
    std::fprintf(err, "%s\n", again.c_str());
    return kSuccess;
}

// How the units read on the background, after the counts: the worst unit by
// both measures, and what --readable changed.
void ContrastStats(const ContrastReport& report, const ConversionRequest& request, std::FILE* err) {
    if (report.units == 0)
        return;
    const std::string background = EncodeUtf8(ColourCode(*request.background));
    std::fprintf(err, "velmorant-cli: on #%s, %zu of %zu units under %s%g%s; the worst #%s at %.2f:1, APCA Lc %.1f\n",
                 background.c_str(), report.under, report.units, report.target.apca ? "Lc " : "", report.target.level,
                 report.target.apca ? "" : ":1", EncodeUtf8(ColourCode(report.worst)).c_str(), report.worstRatio,
                 report.worstLc);
    if (request.readable)
        std::fprintf(err,
                     "velmorant-cli: readable (%s): %zu units changed colour, by %.4f on average and %.4f at most "
                     "(Oklab distance)\n",
                     ReadableGoalText(*request.readable).c_str(), report.changed, report.meanChange,
                     report.largestChange);
}

// The whole command: options, input, conversion, reports.
int RunCommand(std::span<const std::string_view> args, std::FILE* in, std::FILE* out, std::FILE* err,
               std::size_t& bytesRead) {
    auto parsed = ParseOptions(args);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        std::fprintf(err, "velmorant-cli: %s\nTry 'velmorant-cli --help' for more information.\n",
                     usage->message.c_str());
        return kBadUsage;
    }
    const Options& options = std::get<Options>(parsed);
    if (options.help) {
        Write(out, Usage());
        Finish(out);
        return kSuccess;
    }
    if (options.version) {
        Write(out, "velmorant-cli (Velmorant) " VELMORANT_VERSION "\n"
                   "Copyright (C) 2026 The Velmorant developers.\n"
                   "License MIT: <https://opensource.org/licenses/MIT>.\n"
                   "This is free software: you are free to change and redistribute it.\n"
                   "There is NO WARRANTY, to the extent permitted by law.\n");
        Finish(out);
        return kSuccess;
    }

    if (options.list) {
        Write(out, *ListText(*options.list));
        Finish(out);
        return kSuccess;
    }

    const std::string inputName = options.file ? ShellQuote(*options.file) : "standard input";
    InputText input;
    const bool read = ReadInput(options, in, err, inputName, input);
    bytesRead = input.bytesRead;
    if (!read)
        return kBadInput;

    const ConversionRequest request = options.Request();
    if (options.decode)
        return Decode(options, request, input.text, out, err);
    std::optional<std::int32_t> step;
    bool askGradient = false; // the place makes the gradient itself
    const std::optional<std::uint64_t> limit = LengthLimit(options.settings);
    const std::optional<std::uint64_t> maxTags = TagLimit(options.settings);
    // A place's own count is named; code points are plain characters.
    const LengthRule& rule = LengthRuleOf(request);
    const char* unitWord = &rule == &kCodePoints ? "characters" : rule.name.data();
    const bool stepGiven = std::find(options.given.begin(), options.given.end(), "step") != options.given.end();
    if (limit && !stepGiven) {
        const StepFit fit = FitConversion(input.text, request, *limit, maxTags.value_or(UINT64_MAX));
        // Where a colour for every character does not fit, a place that makes
        // gradients itself is asked for one, if that fits.
        if ((!fit.step || *fit.step > 1) && CanAskGradient(input.text, request)) {
            const std::uint64_t length = AskedGradientLength(input.text, request);
            askGradient = length <= *limit;
            if (askGradient)
                std::fprintf(err,
                             "velmorant-cli: step 1 does not fit: wrote MiniMessage's <gradient> tag, %llu %s; "
                             "%s makes the colours itself, one for each code point in turn, each channel mixed "
                             "in sRGB between neighbouring stops and rounded (Adventure's GradientTag)\n",
                             static_cast<unsigned long long>(length), unitWord, request.destination->caption.en.data());
        }
        if (!askGradient && !fit.step) {
            if (maxTags)
                std::fprintf(err,
                             "velmorant-cli: no step fits in %llu %s and %llu tags: the shortest code is "
                             "%llu %s with %llu tags, at step %d\n",
                             static_cast<unsigned long long>(*limit), unitWord,
                             static_cast<unsigned long long>(*maxTags), static_cast<unsigned long long>(fit.length),
                             unitWord, static_cast<unsigned long long>(fit.tags), fit.shortestStep);
            else
                std::fprintf(err,
                             "velmorant-cli: no step fits in %llu %s: the shortest code is %llu %s, "
                             "at step %d\n",
                             static_cast<unsigned long long>(*limit), unitWord,
                             static_cast<unsigned long long>(fit.length), unitWord, fit.shortestStep);
            return kNothingFits;
        }
        if (!askGradient && maxTags)
            std::fprintf(err, "velmorant-cli: step %d fits: %llu %s, %llu tags\n", *fit.step,
                         static_cast<unsigned long long>(fit.length), unitWord,
                         static_cast<unsigned long long>(fit.tags));
        else if (!askGradient)
            std::fprintf(err, "velmorant-cli: step %d fits: %llu %s\n", *fit.step,
                         static_cast<unsigned long long>(fit.length), unitWord);
        step = askGradient ? 1 : *fit.step;
    } else if (limit || maxTags) {
        const CodeMeasure measure = MeasureConversion(input.text, request);
        const LimitVerdict over = OverLimits(measure, limit, maxTags);
        if (over.tags) {
            std::fprintf(err, "velmorant-cli: the code has %llu tags, more than %llu: try --fit\n",
                         static_cast<unsigned long long>(measure.MostOfOneTag()),
                         static_cast<unsigned long long>(*maxTags));
            return kNothingFits;
        }
        if (over.length) {
            std::fprintf(err, "velmorant-cli: the code is %llu %s, more than %llu: try --fit\n",
                         static_cast<unsigned long long>(measure.length), unitWord,
                         static_cast<unsigned long long>(*limit));
            return kNothingFits;
        }
    }
    NoteUnused(options, request, err);
    NoteUnshown(input.text, request, err);
    NoteNotShown(request, input.text, err);

    Utf8ChunkSink sink(kOutputChunk, [out](std::string_view chunk) { Write(out, chunk); });
    // Counting looks at every unit of the output: only when it is asked for.
    CountingSink counted(sink, rule);
    MarkupSink& target = options.stats ? static_cast<MarkupSink&>(counted) : sink;
    ConversionCounts counts{1, 1};
    if (askGradient)
        WriteAskedGradient(input.text, request, target);
    else
        counts = WriteConversion(input.text, request, target, step);
    sink.Finish();
    Finish(out);
    if (options.stats) {
        std::fprintf(err, "velmorant-cli: %zu characters in, %zu characters out (%zu UTF-16 units",
                     CountCodePoints(input.text), counted.CodePoints(), counted.Char16s());
        if (request.destination)
            std::fprintf(err, "; %llu %s as %s counts", static_cast<unsigned long long>(counted.Counted()), unitWord,
                         request.destination->caption.en.data());
        std::fprintf(err, "), %zu tags, step %d", counts.tagPairs, counts.step);
        if (request.format->colours)
            std::fprintf(err, ", largest Oklab \u0394E %.4f from the gradient", counts.largestDistance);
        std::fputc('\n', err);
    }
    if (options.stats && request.background)
        ContrastStats(MeasureContrast(input.text, request, counts.step), request, err);
    return kSuccess;
}

} // namespace

int Run(std::span<const std::string_view> args, std::FILE* in, std::FILE* out, std::FILE* err) {
    std::size_t bytesRead = 0;
    try {
        return RunCommand(args, in, out, err, bytesRead);
    } catch (const OutputFailed& failure) {
        std::fprintf(err, "velmorant-cli: cannot write the output: %s\n", std::strerror(failure.error));
    } catch (const std::bad_alloc&) {
        std::fprintf(err, "velmorant-cli: out of memory after reading %zu bytes of input\n", bytesRead);
    } catch (const std::exception& e) {
        std::fprintf(err, "velmorant-cli: %s\n", e.what());
    }
    return kBadInput;
}

} // namespace velmorant::cli
