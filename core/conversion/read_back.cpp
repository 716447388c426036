#include "core/conversion/read_back.h"

#include "core/colour/css_colour.h"
#include "core/colour/gradient.h"
#include "core/markup/decode.h"
#include "core/markup/gradient_markup.h"
#include "core/text/graphemes.h"
#include "core/text/text.h"
#include "core/text/units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace velmorant {

namespace {

// One coloured unit as read: where it sits (1-based, as the writer places it) and its colour.
struct UnitColour {
    std::int32_t position;
    std::array<std::int32_t, 3> rgb;
};

struct UnitFit {
    bool fits = true;
    bool merged = false; // some tag spans more than one unit
};

// Whether units of k characters explain the code: no colour tag opens inside a
// unit or on a unit written raw, each other unit wears one colour, and a unit
// without its own tag continues its neighbour's run of the same colour.
UnitFit FitsStep(std::u16string_view text, std::size_t lead, const DecodedCode& read, bool closes, std::int32_t k,
                 const UnitRule& rule) {
    UnitFit fit;
    const std::vector<std::size_t>& heads = read.headAt;
    std::size_t h = static_cast<std::size_t>(std::lower_bound(heads.begin(), heads.end(), lead) - heads.begin());
    bool runOpen = false;
    std::int32_t runColour = -1;
    ForEachUnit(text, k, rule, [&](const Unit& unit) {
        if (!fit.fits)
            return;
        const std::size_t from = lead + static_cast<std::size_t>(unit.text.data() - text.data());
        const std::size_t end = from + unit.text.size();
        bool head = false;
        while (h < heads.size() && heads[h] == from) {
            head = true;
            ++h;
        }
        const std::int32_t colour = read.colourAt[from];
        if (h < heads.size() && heads[h] < end) {
            fit.fits = false;
        } else if (IsRawUnit(unit.text, rule)) {
            // A format whose colour lasts to the next one cannot show whether a raw unit was tagged.
            fit.fits = !head && (!closes || colour < 0);
            runOpen = false;
        } else {
            for (std::size_t i = from; i < end; ++i)
                fit.fits = fit.fits && read.colourAt[i] == colour;
            // Every unit not raw is written in a colour.
            fit.fits = fit.fits && colour >= 0;
            if (!head) {
                fit.fits = fit.fits && runOpen && colour == runColour;
                fit.merged = true;
            }
            runOpen = colour >= 0;
            runColour = colour;
        }
    });
    return fit;
}

// The steps the step text can give (1 to n - 1) worth trying: around the length of the first tags' runs, as a unit
// that keeps a surrogate pair whole is one longer or one shorter. The runs are
// disjoint, so finding them reads the text at most once.
std::vector<std::int32_t> Candidates(const DecodedCode& read, std::size_t lead, std::int32_t n, bool graphemes) {
    std::set<std::int32_t, std::greater<>> steps{1};
    // Merged runs of one colour (a set of few colours makes long ones) hide the
    // unit's length: the short steps are tried too.
    for (std::int32_t k = 2; k <= 8 && k < n; ++k)
        steps.insert(k);
    const std::vector<std::size_t>& heads = read.headAt;
    const auto first = std::lower_bound(heads.begin(), heads.end(), lead);
    for (auto h = first; h != heads.end() && h - first < 16; ++h) {
        const std::size_t next = h + 1 == heads.end() ? read.text.size() : h[1];
        std::size_t end = *h;
        while (end < next && read.colourAt[end] == read.colourAt[*h])
            ++end;
        const auto run = static_cast<std::int64_t>(
            graphemes ? CountGraphemes(std::u16string_view(read.text).substr(*h, end - *h)) : end - *h);
        for (const std::int64_t k : {run - 1, run, run + 1})
            if (k >= 1 && k < n)
                steps.insert(static_cast<std::int32_t>(k));
    }
    return {steps.begin(), steps.end()};
}

std::string StopText(const std::array<std::int32_t, 3>& rgb) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string out = "#";
    for (const std::int32_t channel : rgb) {
        out += kDigits[channel >> 4];
        out += kDigits[channel & 15];
    }
    return out;
}

// a / b rounded half to even, b > 0: the window's rounding of a unit's channel.
std::int64_t RoundHalfEven(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b, r = a % b;
    if (r < 0) {
        --q;
        r += b;
    }
    return 2 * r > b || (2 * r == b && q % 2 != 0) ? q + 1 : q;
}

// The gradient most codes come from: m + 1 plain stops at equal spacing, each
// channel on its own by the window's integer rule. Each stop is guessed from the
// units beside it, give or take two, and kept where every unit of its segment
// agrees; empty when no such gradient gives every unit its colour.
std::string EvenStops(const std::vector<UnitColour>& units, std::int32_t m, std::int32_t n) {
    const auto segmentOf = [&](std::int32_t p) { return SegmentOf(p, n, m); };
    std::vector<std::array<std::int32_t, 3>> stops(static_cast<std::size_t>(m) + 1);
    std::size_t from = 0;
    for (std::int32_t j = 0; j < m; ++j) {
        std::size_t to = from;
        while (to < units.size() && segmentOf(units[to].position) == j)
            ++to;
        if (to - from < 2 || (j == 0 && from != 0))
            return {};
        for (std::size_t c = 0; c < 3; ++c) {
            // The line through the segment's first and last units, at both of its ends.
            const UnitColour &a = units[from], &b = units[to - 1];
            const double slope = static_cast<double>(b.rgb[c] - a.rgb[c]) / (b.position - a.position);
            const double start = a.rgb[c] + slope * (static_cast<double>(j) * n / m - a.position);
            const double end = a.rgb[c] + slope * (static_cast<double>(j + 1) * n / m - a.position);
            bool found = false;
            for (int ds = -2; ds <= 2 && !found; ++ds) {
                const auto first = j == 0 ? static_cast<std::int64_t>(std::lround(start)) + ds : stops[j][c];
                if (j > 0 && ds != 0)
                    continue;
                for (int de = -2; de <= 2 && !found; ++de) {
                    const std::int64_t last = std::lround(end) + de;
                    if (first < 0 || first > 255 || last < 0 || last > 255)
                        continue;
                    found = std::all_of(units.begin() + static_cast<std::ptrdiff_t>(from),
                                        units.begin() + static_cast<std::ptrdiff_t>(to), [&](const UnitColour& u) {
                                            const std::int64_t r = std::int64_t{u.position} * m - std::int64_t{j} * n;
                                            return first + RoundHalfEven((last - first) * r, n) == u.rgb[c];
                                        });
                    if (found) {
                        stops[j][c] = static_cast<std::int32_t>(first);
                        stops[j + 1][c] = static_cast<std::int32_t>(last);
                    }
                }
            }
            if (!found)
                return {};
        }
        from = to;
    }
    if (from != units.size())
        return {};
    std::string out;
    for (const auto& stop : stops)
        out += (out.empty() ? "" : ", ") + StopText(stop);
    return out;
}

// Which units become stops: between two kept units, every unit's colour is the
// straight line between theirs, rounded. Greedy: each stop reaches as far as a
// line can, found by narrowing the slopes every unit passed allows.
std::vector<std::size_t> Bends(const std::vector<UnitColour>& units) {
    constexpr double kMargin = 1e-6; // away from the half where rounding could go either way
    std::vector<std::size_t> kept{0};
    std::size_t work = 0;
    for (std::size_t a = 0; a + 1 < units.size();) {
        std::array<double, 3> low, high;
        low.fill(-std::numeric_limits<double>::infinity());
        high.fill(std::numeric_limits<double>::infinity());
        std::size_t end = a + 1;
        for (std::size_t u = a + 1; u < units.size(); ++u) {
            // Every unit is passed again only from a later stop: beyond a few passes
            // each, a stop at every unit is the answer anyway.
            if (++work > 64 * units.size())
                return {};
            const double d = units[u].position - units[a].position;
            bool reaches = true, open = true;
            for (std::size_t c = 0; c < 3; ++c) {
                const double rise = units[u].rgb[c] - units[a].rgb[c];
                reaches = reaches && rise / d >= low[c] && rise / d <= high[c];
                low[c] = std::max(low[c], (rise - 0.5 + kMargin) / d);
                high[c] = std::min(high[c], (rise + 0.5 - kMargin) / d);
                open = open && low[c] <= high[c];
            }
            if (reaches)
                end = u;
            if (!open)
                break;
        }
        kept.push_back(end);
        a = end;
    }
    return kept;
}

// A unit's place along the text in percent, in plain digits (no locale, no
// exponent), cut after enough places that no neighbouring unit shares it: just
// below the unit, so the unit still takes this stop's colour.
std::string Percent(std::int32_t position, std::int32_t n) {
    const std::int64_t scaled = std::int64_t{100} * position;
    std::string out = std::to_string(scaled / n) + ".";
    std::int64_t rest = scaled % n;
    for (std::int32_t places = n; places > 0 && rest > 0; places /= 10)
        for (int digit = 0; digit < 2 && rest > 0; ++digit) {
            rest *= 10;
            out += static_cast<char>('0' + rest / n);
            rest %= n;
        }
    if (out.back() == '.')
        out.pop_back();
    return out + "%";
}

std::string StopsText(const std::vector<UnitColour>& units, const std::vector<std::size_t>& kept, std::int32_t n) {
    std::string out;
    for (const std::size_t u : kept)
        out += (out.empty() ? "" : ", ") + StopText(units[u].rgb) + " " + Percent(units[u].position, n);
    return out;
}

// Whether the stops give every unit its colour, walked as the writer walks them.
bool Reproduces(const std::string& stops, const std::vector<UnitColour>& units, const ColourScale& scale) {
    Gradient gradient;
    std::string_view bad;
    if (!ReadStops(stops, gradient, bad))
        return false;
    GradientWalker walker(gradient, scale.k, scale.n, scale.first);
    return std::all_of(units.begin(), units.end(), [&](const UnitColour& unit) {
        walker.MoveTo(unit.position);
        return walker.Red() == unit.rgb[0] && walker.Green() == unit.rgb[1] && walker.Blue() == unit.rgb[2];
    });
}

} // namespace

ReadBack ReadCodeBack(std::u16string_view code, const Format& format, const TagTemplate& tags, const UnitRule& given) {
    // A format that leaves white space untagged says so whatever the caller's rule.
    UnitRule rule = given;
    rule.whiteSpace = rule.whiteSpace || format.rawWhiteSpace;
    const DecodedCode read = DecodeCode(code, format, tags);
    ReadBack back;
    back.text = read.text;
    back.format = &format;
    back.tags = tags;
    back.styles = read.styles;
    back.coloured = !read.colours.empty();
    const std::u16string_view text = TrimBlanks(read.text);
    if (!FitsPositions(text) || text.empty())
        return back;
    const auto lead = static_cast<std::size_t>(text.data() - read.text.data());
    const GradientText cut = PrepareGradientText(text, u"1", rule);
    const std::int32_t n = cut.length;
    for (const std::int32_t k : Candidates(read, lead, n, rule.graphemes)) {
        const UnitFit fit = FitsStep(text, lead, read, !tags.Close.empty(), k, rule);
        if (fit.fits || k == 1) {
            back.step = k;
            back.merge = fit.fits && fit.merged;
            break;
        }
    }
    // Where the writer takes each unit's colour: by position, or with end stops by unit.
    GradientText stepped = cut;
    stepped.step = back.step;
    const ColourScale scale = ScaleOf(stepped);
    std::vector<UnitColour> units;
    std::int32_t index = 0;
    ForEachUnit(text, back.step, rule, [&](const Unit& unit) {
        const std::int32_t place = rule.endStops ? index - scale.firstUnit : unit.position;
        ++index;
        const std::int32_t colour = read.colourAt[lead + static_cast<std::size_t>(unit.text.data() - text.data())];
        if (!IsRawUnit(unit.text, rule) && colour >= 0)
            units.push_back({place, {colour >> 16, colour >> 8 & 0xFF, colour & 0xFF}});
    });
    if (units.empty())
        return back;
    if (units.size() == 1) {
        back.colours = StopText(units[0].rgb) + ", " + StopText(units[0].rgb);
        back.stops = 2;
        return back;
    }
    // The few stops of a gradient at equal spacing, as most codes are made;
    for (std::int32_t m = 1; m <= 16; ++m) {
        const std::string even = EvenStops(units, m, scale.n);
        if (!even.empty() && Reproduces(even, units, scale)) {
            back.colours = even;
            back.stops = static_cast<std::size_t>(m) + 1;
            return back;
        }
    }
    // else a line through as many units as it can; where floating point
    // disagrees, a stop at each end of every run of one colour, always exact.
    std::vector<std::size_t> kept = Bends(units);
    std::string stops = kept.empty() || kept.size() > kMaxStops ? std::string() : StopsText(units, kept, scale.n);
    if (kept.empty() || kept.size() > kMaxStops || !Reproduces(stops, units, scale)) {
        kept.clear();
        for (std::size_t u = 0; u < units.size() && kept.size() <= kMaxStops; ++u)
            if (u == 0 || u + 1 == units.size() || units[u].rgb != units[u - 1].rgb || units[u].rgb != units[u + 1].rgb)
                kept.push_back(u);
        stops = kept.size() > kMaxStops ? std::string() : StopsText(units, kept, scale.n);
    }
    back.tooMany = kept.size() > kMaxStops;
    if (!back.tooMany) {
        back.colours = std::move(stops);
        back.stops = kept.size();
    }
    return back;
}

} // namespace velmorant
