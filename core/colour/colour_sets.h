#pragma once
// Places that take only some colours, each by its own code text: the set of
// them, and the member nearest a colour by distance in Oklab.

#include "core/colour/colour.h"
#include "core/colour/oklab.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace velmorant {

struct NamedCode {
    std::u16string_view code; // what the place reads, between the tag's open and middle
    std::uint32_t rgb;        // 0xRRGGBB, the colour the place shows for it
};

struct ColourSet {
    std::string_view name;
    std::span<const NamedCode> colours;
};

// NGA's colour names (its editor's list).
extern const ColourSet kNgaColours;
// Minecraft Bedrock's sixteen section-code colours and its material colours.
extern const ColourSet kBedrockColours;
// The eight text colours of Discord's ansi code blocks (codes 30-37), as its client paints them.
extern const ColourSet kDiscordColours;

// Every set, and the set of a name or null.
std::span<const ColourSet* const> ColourSets();
const ColourSet* FindColourSet(std::string_view name);

constexpr Rgb UnpackRgb(std::uint32_t rgb) {
    return {static_cast<Channel>(rgb >> 16 & 0xFF), static_cast<Channel>(rgb >> 8 & 0xFF),
            static_cast<Channel>(rgb & 0xFF)};
}

// Distance in Oklab (ΔE, Euclidean).
double OklabDistance(const Oklab& a, const Oklab& b);
double OklabDistance(const Rgb& a, const Rgb& b);

// The member nearest the colour in Oklab; the first in the set's order on a tie.
const NamedCode& Nearest(const ColourSet& set, const Rgb& colour);

// Nearest for many colours: the members' Oklab worked out once, and the last
// answer kept, since neighbouring units often share a colour.
class NearestCode {
public:
    explicit NearestCode(const ColourSet& set);
    const NamedCode& operator()(const Rgb& colour);
    // The distance from the last colour asked to its answer.
    double LastDistance() const { return lastDistance_; }

private:
    const ColourSet& set_;
    std::vector<Oklab> labs_;
    Rgb last_;
    const NamedCode* answer_ = nullptr;
    double lastDistance_ = 0;
};

} // namespace velmorant
