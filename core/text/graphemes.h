#pragma once
// Extended grapheme clusters (UAX #29, Unicode 15.0): what a reader takes for
// one character. A unit that ends inside one spends a colour on a code point
// nobody sees alone (a flag's second letter, an accent, a family's members).

#include "core/text/units.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmorant {

// Grapheme_Cluster_Break values; the generated table stores them in this order.
enum class GraphemeBreak : std::uint8_t {
    Other,
    CR,
    LF,
    Control,
    Extend,
    ZWJ,
    RegionalIndicator,
    Prepend,
    SpacingMark,
    L,
    V,
    T,
    LV,
    LVT
};

struct GraphemeProperties {
    GraphemeBreak value;
    bool extendedPictographic;
};

// A code point's properties; a lone surrogate is Other, like the U+FFFD it is written as.
GraphemeProperties GraphemePropertiesOf(char32_t c);

// The end of the cluster that starts at start (a cluster boundary, start < text.size()).
// Walking from 0 cluster by cluster is linear in the text's length.
std::size_t GraphemeEnd(std::u16string_view text, std::size_t start);

// Visits each cluster of text in order.
template <class Visit> void ForEachGrapheme(std::u16string_view text, Visit&& visit) {
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = GraphemeEnd(text, start);
        visit(text.substr(start, end - start));
        start = end;
    }
}

std::size_t CountGraphemes(std::u16string_view text);

// Visits the units of text for n >= 1 clusters a unit, in order: every unit but
// the last holds n whole clusters. CR LF is one cluster, so no unit ends between them.
// position is the 1-based position of the unit's first char16.
template <class Visit> void ForEachGraphemeUnit(std::u16string_view text, std::int32_t n, Visit&& visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        for (std::int32_t i = 0; i < n && end < text.size(); ++i)
            end = GraphemeEnd(text, end);
        visit(Unit{static_cast<std::int32_t>(start + 1), text.substr(start, end - start)});
        start = end;
    }
}

// As ForEachGraphemeUnit, but position counts clusters: the 1-based place of
// the unit's first cluster among the text's clusters, 1, 1 + n, 1 + 2n, ...
template <class Visit> void ForEachClusterUnit(std::u16string_view text, std::int32_t n, Visit&& visit) {
    std::int32_t place = 1;
    ForEachGraphemeUnit(text, n, [&](const Unit& unit) {
        visit(Unit{place, unit.text});
        place += n;
    });
}

// The units of text for step k under the rule: of char16s (positions count
// char16s) or of whole clusters (positions count clusters).
template <class Visit> void ForEachUnit(std::u16string_view text, std::int32_t k, const UnitRule& rule, Visit&& visit) {
    if (rule.graphemes)
        ForEachClusterUnit(text, k, visit);
    else
        ForEachUnit(text, k, visit);
}

} // namespace velmorant
