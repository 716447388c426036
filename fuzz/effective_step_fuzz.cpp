// EffectiveStep over any step text and any text length.

#include "core/text/text_to_number.h"
#include "fuzz/fuzz_input.h"

#include <algorithm>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmorant::fuzz::FuzzInput input(data, size);
    // Short texts are where the rule has its edges; one byte reaches them, a flag the whole range.
    const std::uint8_t head = input.TakeByte();
    std::int32_t n = head & 0x7F;
    if (head & 0x80)
        n = input.Take<std::int32_t>() & 0x7FFFFFFF;
    const std::u16string stepText = input.TakeText();

    const std::int32_t k = velmorant::EffectiveStep(stepText, n);
    FUZZ_CHECK(k >= 1);
    FUZZ_CHECK(k <= std::max<std::int32_t>(1, n - 1));

    // A whole step that can cut the text is kept as it is; every other value gives 1.
    const double value = velmorant::TextToNumber(stepText);
    const double rounded = std::nearbyint(value);
    if (rounded >= 1 && rounded <= static_cast<double>(n) - 1)
        FUZZ_CHECK(k == rounded);
    else
        FUZZ_CHECK(k == 1);
    return 0;
}
