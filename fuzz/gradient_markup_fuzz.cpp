// ComposeGradientMarkup with the text, step text, colours and template all taken
// from the input. The markup is read back piece by piece against the units, and
// the CLI's streamed UTF-8 must be the whole markup's bytes.

#include "core/colour/colour.h"
#include "core/markup/formats.h"
#include "core/markup/gradient_markup.h"
#include "core/markup/utf8_sink.h"
#include "core/text/text.h"
#include "core/text/text_to_number.h"
#include "core/text/units.h"
#include "core/text/utf8.h"
#include "fuzz/fuzz_input.h"
#include "reference_rules.h"
#include "tests/cutting_sink.h"

#include <vector>

namespace {

using namespace velmorant;

bool IsUpperHex(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); }

// What the CLI writes: the markup made in pieces, cut again, and encoded in chunks.
std::string Streamed(std::u16string_view raw, std::u16string_view step, const ColourPair& colours,
                     const TagTemplate& tags, std::size_t cut, std::size_t chunkBytes) {
    std::string bytes;
    Utf8ChunkSink utf8(chunkBytes, [&](std::string_view chunk) {
        FUZZ_CHECK(chunk.size() <= chunkBytes + 3);
        bytes += chunk;
    });
    CuttingSink cutting(utf8, cut);
    WriteGradientMarkup(raw, step, colours, tags, cutting);
    utf8.Finish();
    return bytes;
}

// Consumes `expected` at `at` in the markup, or stops the run.
void Expect(std::u16string_view markup, std::size_t& at, std::u16string_view expected) {
    FUZZ_CHECK(markup.substr(at, expected.size()) == expected);
    at += expected.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const ColourPair colours = input.TakeColours();
    const std::vector<std::u16string> texts = input.TakeTexts();
    const std::u16string& raw = texts[0];
    const std::u16string step = texts.size() > 1 ? texts[1] : u"1";
    // Template texts left out keep the start-up ones, so short inputs still frame their units.
    TagTemplate tags = TemplateFor(kDefaultFormat);
    if (texts.size() > 2)
        tags.Open = texts[2];
    if (texts.size() > 3)
        tags.Middle = texts[3];
    if (texts.size() > 4)
        tags.Close = texts[4];

    const std::u16string markup = ComposeGradientMarkup(raw, step, colours, tags);

    // As the CLI cuts it, and cut finer, in sizes that vary with the input.
    const std::string whole = EncodeUtf8(markup);
    FUZZ_CHECK(Streamed(raw, step, colours, tags, 8192, 64 * 1024) == whole);
    FUZZ_CHECK(Streamed(raw, step, colours, tags, 1 + size % 5, 1 + size % 7) == whole);

    const std::u16string_view text = TrimBlanks(raw);
    const auto n = static_cast<std::int32_t>(text.size());
    if (n == 0) {
        FUZZ_CHECK(markup.empty());
        return 0;
    }
    const std::int32_t k = EffectiveStep(step, n);

    std::vector<Unit> units;
    ForEachUnit(text, k, [&](const Unit& unit) { units.push_back(unit); });

    // The units are the text, in order, cut every k positions and never inside a pair.
    std::u16string joined;
    std::int32_t previous = 0;
    for (const Unit& unit : units) {
        FUZZ_CHECK(!unit.text.empty());
        FUZZ_CHECK(unit.position > previous);
        FUZZ_CHECK((unit.position - 1) % k == 0);
        previous = unit.position;
        if (!joined.empty())
            FUZZ_CHECK(!(fuzz::IsHigh(joined.back()) && fuzz::IsLow(unit.text.front())));
        joined.append(unit.text);
    }
    FUZZ_CHECK(joined == text);

    // Raw units stand as they are; every other unit is Open, six upper-case hex
    // digits in the colour of its position, Middle, the unit and Close.
    std::size_t at = 0;
    for (const Unit& unit : units) {
        if (IsRawUnit(unit.text)) {
            Expect(markup, at, unit.text);
            continue;
        }
        Expect(markup, at, tags.Open);
        const std::u16string_view code = std::u16string_view(markup).substr(at, 6);
        FUZZ_CHECK(code.size() == 6);
        for (char16_t c : code)
            FUZZ_CHECK(IsUpperHex(c));
        Expect(markup, at, ColourCode(BlendAt(colours, unit.position, n)));
        Expect(markup, at, tags.Middle);
        Expect(markup, at, unit.text);
        Expect(markup, at, tags.Close);
    }
    FUZZ_CHECK(at == markup.size());

    // Framing never pairs up or splits surrogates: the markup has exactly the text's lone ones.
    if (fuzz::CountLoneSurrogates(tags.Open) == 0 && fuzz::CountLoneSurrogates(tags.Middle) == 0 &&
        fuzz::CountLoneSurrogates(tags.Close) == 0)
        FUZZ_CHECK(fuzz::CountLoneSurrogates(markup) == fuzz::CountLoneSurrogates(text));
    return 0;
}
