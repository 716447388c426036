// The colour text reader over any text: it never takes a colour with a NaN in it,
// a colour it takes reads the same once padded with blanks, and the stop list that
// holds it twice takes it too, with finite exact colours.

#include "core/colour/css_colour.h"
#include "core/colour/gradient.h"
#include "core/text/utf8.h"
#include "fuzz/fuzz_input.h"

#include <cmath>
#include <string>

namespace {

using namespace velmorant;

bool Finite(const SpaceColour& colour) {
    for (const double c : colour.c)
        if (!std::isfinite(c))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmorant::fuzz::FuzzInput input(data, size);
    const std::string text = EncodeUtf8(input.TakeText());
    const ColourRead read = ReadColour(text);
    FUZZ_CHECK(read.colour.has_value() == (read.problem == ColourProblem::None));
    if (!read.colour)
        return 0;
    FUZZ_CHECK(Finite(read.colour->colour));
    const Rgb rgb = ToRgb(read.colour->colour);

    // Blanks of every kind around a colour change nothing.
    const ColourRead padded = ReadColour(" \t\f" + text + "\r\n");
    FUZZ_CHECK(padded.colour && ToRgb(padded.colour->colour) == rgb);

    // As a stop list's two ends, where the list splits at the comma between them:
    // brackets closed, no comment, escape or string to hide one.
    int depth = 0;
    bool plain = text.find_first_of(",\\\"'") == std::string::npos && text.find("/*") == std::string::npos;
    for (const char c : text)
        plain = plain && (depth += c == '(' ? 1 : c == ')' ? -1 : 0) >= 0;
    if (plain && depth == 0) {
        Gradient gradient;
        std::string_view bad;
        FUZZ_CHECK(ReadStops(text + ", " + text, gradient, bad));
        FUZZ_CHECK(gradient.stops.size() == 2 && gradient.stops[0] == rgb && gradient.stops[1] == rgb);
        for (const SpaceColour& exact : gradient.exact)
            FUZZ_CHECK(Finite(exact));
    }
    return 0;
}
