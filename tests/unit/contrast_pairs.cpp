// Reads "RRGGBB RRGGBB" lines (text, background) and prints the WCAG ratio and the
// APCA Lc of each at full precision, for contrast_test.mjs to hold against others.
#include "core/colour/contrast.h"

#include <cstdio>

int main() {
    unsigned text = 0, background = 0;
    const auto rgb = [](unsigned v) {
        using velmorant::Channel;
        return velmorant::Rgb{static_cast<Channel>(v >> 16), static_cast<Channel>(v >> 8 & 0xFF),
                              static_cast<Channel>(v & 0xFF)};
    };
    while (std::scanf("%6x %6x", &text, &background) == 2)
        std::printf("%.17g %.17g\n", velmorant::ContrastRatio(rgb(text), rgb(background)),
                    velmorant::ApcaLc(rgb(text), rgb(background)));
}
