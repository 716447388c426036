// Reading a code back (--decode) over any text, in every format and the one detected:
// the per-char16 colours line up with the text, tags open in order inside it, and
// the colours given back as stops are a list the colour reader takes.

#include "core/colour/css_colour.h"
#include "core/conversion/read_back.h"
#include "core/markup/decode.h"
#include "core/markup/formats.h"
#include "fuzz/fuzz_input.h"

#include <cstddef>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmorant;
    fuzz::FuzzInput input(data, size);
    const std::size_t pick = input.TakeByte();
    const std::u16string code = input.TakeText();
    const std::span<const Format> formats = Formats();
    const Format& format = pick < formats.size() ? formats[pick] : DetectFormat(code);

    const DecodedCode decoded = DecodeCode(code, format, format.Template());
    FUZZ_CHECK(decoded.colourAt.size() == decoded.text.size());
    FUZZ_CHECK(decoded.text.size() <= code.size());
    for (std::size_t k = 0; k < decoded.headAt.size(); ++k) {
        FUZZ_CHECK(decoded.headAt[k] <= decoded.text.size());
        FUZZ_CHECK(k == 0 || decoded.headAt[k - 1] <= decoded.headAt[k]);
    }

    const ReadBack back = ReadCodeBack(code, format, format.Template());
    FUZZ_CHECK(back.text == decoded.text);
    FUZZ_CHECK(back.colours.empty() || !back.tooMany);
    if (!back.colours.empty()) {
        Gradient gradient;
        std::string_view bad;
        FUZZ_CHECK(ReadStops(back.colours, gradient, bad));
        FUZZ_CHECK(gradient.stops.size() == back.stops);
    }
    return 0;
}
