// The generator's forms beyond the window's: several stops, Oklab, merged runs,
// decimal codes, and the step chosen for a length limit. The properties the
// command line promises are checked on the code itself.
//
// Header: flags (bit 0 merge, bit 1 Oklab, bit 2 decimal codes), the number of
// stops less two (mod 4), three bytes a stop, a 16-bit length limit; then the
// text and the step text.

#include "core/colour/colour.h"
#include "core/colour/gradient.h"
#include "core/conversion/step_fit.h"
#include "core/markup/gradient_markup.h"
#include "core/text/code_points.h"
#include "core/text/units.h"
#include "fuzz/fuzz_input.h"
#include "reference_rules.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace velmorant;

// Private-use characters frame the units, so the code can be read back unambiguously.
const TagTemplate kMarks{u"\uE000", u"\uE001", u"\uE002"};
constexpr bool IsMark(char16_t c) { return c >= 0xE000 && c <= 0xE002; }

struct Piece {
    bool tagged;
    std::u16string code;
    std::u16string text;
};

// The code as raw text and tagged runs, or stops the run if it is not well formed.
std::vector<Piece> ReadBack(std::u16string_view code) {
    std::vector<Piece> pieces;
    for (std::size_t at = 0; at < code.size();) {
        if (code[at] != u'\uE000') {
            const std::size_t end = std::min(code.find(u'\uE000', at), code.size());
            FUZZ_CHECK(code.substr(at, end - at).find_first_of(u"\uE001\uE002") == std::u16string_view::npos);
            pieces.push_back({false, {}, std::u16string(code.substr(at, end - at))});
            at = end;
            continue;
        }
        const std::size_t middle = code.find(u'\uE001', at);
        const std::size_t close = code.find(u'\uE002', at);
        FUZZ_CHECK(middle != std::u16string_view::npos && close != std::u16string_view::npos && middle < close);
        pieces.push_back({true, std::u16string(code.substr(at + 1, middle - at - 1)),
                          std::u16string(code.substr(middle + 1, close - middle - 1))});
        at = close + 1;
    }
    return pieces;
}

std::u16string CodeText(const Rgb& colour, CodeStyle style) {
    if (style == CodeStyle::Hex)
        return ColourCode(colour);
    const std::string decimal =
        std::to_string(colour.red) + ";" + std::to_string(colour.green) + ";" + std::to_string(colour.blue);
    return {decimal.begin(), decimal.end()};
}

std::u16string Write(const GradientText& text, const Gradient& gradient, const MarkupForm& form) {
    StringSink sink;
    if (text.length > 0) {
        GradientWalker colours(gradient, text.step, text.length);
        WriteGradientMarkup(text, colours, kMarks, form, sink);
    }
    return sink.text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint8_t flags = input.TakeByte();
    Gradient gradient{{}, flags & 2 ? Blend::Oklab : Blend::Srgb};
    for (int stops = 2 + input.TakeByte() % 4; stops > 0; --stops) {
        const Channel r = input.TakeByte(), g = input.TakeByte(), b = input.TakeByte();
        gradient.stops.push_back({r, g, b});
    }
    const MarkupForm form{flags & 4 ? CodeStyle::Decimal : CodeStyle::Hex, (flags & 1) != 0};
    const auto limit = input.Take<std::uint16_t>();
    std::vector<std::u16string> texts = input.TakeTexts();
    std::replace_if(texts[0].begin(), texts[0].end(), IsMark, u'x');
    const GradientText text = PrepareGradientText(texts[0], texts.size() > 1 ? texts[1] : u"1");

    const std::u16string code = Write(text, gradient, form);
    const std::vector<Piece> pieces = ReadBack(code);

    // Inside and between the tags, the text is all there, in order, merged or not.
    std::u16string joined;
    for (const Piece& piece : pieces)
        joined += piece.text;
    FUZZ_CHECK(joined == text.text);
    if (form.merge) {
        MarkupForm unmerged = form;
        unmerged.merge = false;
        std::u16string plain;
        for (const Piece& piece : ReadBack(Write(text, gradient, unmerged)))
            plain += piece.text;
        FUZZ_CHECK(joined == plain);
        for (std::size_t i = 1; i < pieces.size(); ++i)
            FUZZ_CHECK(!(pieces[i - 1].tagged && pieces[i].tagged && pieces[i - 1].code == pieces[i].code));
    }

    // Each tag's colour is its units', and in sRGB it lies between their segment's stops.
    std::size_t piece = 0, into = 0; // the unit's place among the pieces
    const auto segments = static_cast<std::int64_t>(gradient.stops.size()) - 1;
    ForEachUnit(text.text, text.step, [&](const Unit& unit) {
        FUZZ_CHECK(piece < pieces.size());
        const Piece& at = pieces[piece];
        if (at.tagged) {
            // Merged units too: a run only ever joins units of its own colour.
            const Rgb colour = GradientAt(gradient, unit.position, text.length);
            FUZZ_CHECK(at.code == CodeText(colour, form.code));
            FUZZ_CHECK(form.merge || (into == 0 && unit.text.size() == at.text.size()));
            if (gradient.blend == Blend::Srgb) {
                const std::int64_t j = SegmentOf(unit.position, text.length, segments);
                const Rgb& from = gradient.stops[static_cast<std::size_t>(j)];
                const Rgb& to = gradient.stops[static_cast<std::size_t>(j + 1)];
                FUZZ_CHECK(std::min(from.red, to.red) <= colour.red && colour.red <= std::max(from.red, to.red));
                FUZZ_CHECK(std::min(from.green, to.green) <= colour.green &&
                           colour.green <= std::max(from.green, to.green));
                FUZZ_CHECK(std::min(from.blue, to.blue) <= colour.blue && colour.blue <= std::max(from.blue, to.blue));
            }
        }
        FUZZ_CHECK(at.text.compare(into, unit.text.size(), unit.text) == 0);
        into += unit.text.size();
        if (into == at.text.size()) {
            ++piece;
            into = 0;
        }
    });

    // The counted length is the code's, the chosen step fits, and no smaller step does.
    const std::u16string before = u"[B]", after = u"[/B]";
    auto measured = [&](std::int32_t k) {
        GradientText atStep = text;
        atStep.step = k;
        return CountCodePoints(before) + CountCodePoints(Write(atStep, gradient, form)) + CountCodePoints(after);
    };
    const OutputLengths lengths(text.text, gradient, {kMarks, form, {before, after}});
    FUZZ_CHECK(lengths.For(text.step) == measured(text.step));
    const StepFit fit = FitStep(lengths, text.length, limit);
    const std::int32_t last = fit.step ? *fit.step : std::max(1, text.length - 1);
    // Every step below the chosen one is measured for short texts; longer ones trust the count, checked above.
    for (std::int32_t k = 1; k <= last; ++k) {
        const std::uint64_t length = text.length <= 200 ? measured(k) : lengths.For(k);
        if (fit.step && k == *fit.step)
            FUZZ_CHECK(length <= limit && length == fit.length);
        else
            FUZZ_CHECK(length > limit && length >= fit.length);
    }
    if (!fit.step)
        FUZZ_CHECK(lengths.For(fit.shortestStep) == fit.length);
    return 0;
}
