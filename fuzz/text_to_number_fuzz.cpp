// TextToNumber and the size mapping built on it, over any text.

#include "core/text/text_to_number.h"
#include "fuzz/fuzz_input.h"
#include "preview/preview_layout.h"

#include <cmath>
#include <exception>

namespace {

using velmorant::fuzz::FuzzInput;

bool IsIgnored(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }

double ReadNumber(std::u16string_view text) {
    try {
        return velmorant::TextToNumber(text);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "TextToNumber threw: %s\n", e.what());
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::u16string text = input.TakeText();

    const double value = ReadNumber(text);
    FUZZ_CHECK(!std::isnan(value));

    // Blanks, tabs and line feeds count nowhere, so removing them changes nothing.
    std::u16string cleaned;
    for (char16_t c : text)
        if (!IsIgnored(c))
            cleaned.push_back(c);
    FUZZ_CHECK(ReadNumber(cleaned) == value);

    // A sign in front of a number that has none negates it.
    if (!cleaned.empty() && ((cleaned[0] >= u'0' && cleaned[0] <= u'9') || cleaned[0] == u'.')) {
        FUZZ_CHECK(ReadNumber(u"-" + cleaned) == -value);
        FUZZ_CHECK(ReadNumber(u"+" + cleaned) == value);
    }

    // Hexadecimal and octal read unsigned whole numbers.
    if (cleaned.size() >= 2 && cleaned[0] == u'&' &&
        (cleaned[1] == u'H' || cleaned[1] == u'h' || cleaned[1] == u'O' || cleaned[1] == u'o')) {
        FUZZ_CHECK(value >= 0);
        FUZZ_CHECK(std::isinf(value) || value == std::floor(value));
    }

    // The size box reads the same way: never NaN, the sign kept, the seven choices mapped to points.
    const float points = velmorant::MapPreviewSize(text);
    FUZZ_CHECK(!std::isnan(points));
    FUZZ_CHECK(std::signbit(points) == std::signbit(value));
    if (value >= 1 && value <= 7 && value == std::floor(value))
        FUZZ_CHECK(points >= 10 && points <= 35);
    return 0;
}
