#pragma once
// Where each coloured unit's colour comes from. The generator asks by unit
// position only, so another rule can stand in for the two-colour gradient
// without touching the unit loop.

#include "codegen/channel_stepper.h"
#include "codegen/colour.h"

#include <cstdint>

namespace velmorant {

class UnitColours {
public:
    virtual ~UnitColours() = default;
    // The colour at a 1-based unit position; positions are asked for in growing order.
    virtual Rgb At(std::int32_t position) = 0;
};

// BlendAt(pair, position, n) for positions 1, 1 + k, 1 + 2k, ..., stepped
// exactly instead of divided per unit.
class TwoColourSteps final : public UnitColours {
public:
    // n > 0 and k >= 1.
    TwoColourSteps(const ColourPair& pair, std::int32_t k, std::int32_t n)
        : red_(pair.start.red, pair.end.red, 1, k, n), green_(pair.start.green, pair.end.green, 1, k, n),
          blue_(pair.start.blue, pair.end.blue, 1, k, n), k_(k) {}

    // Units left empty by the surrogate rule are skipped, so a position may jump several steps.
    Rgb At(std::int32_t position) override {
        while (position_ < position) {
            red_.Step();
            green_.Step();
            blue_.Step();
            position_ += k_;
        }
        // Every value lies between the two ends, so it fits a Channel.
        return {static_cast<Channel>(red_.Value()), static_cast<Channel>(green_.Value()),
                static_cast<Channel>(blue_.Value())};
    }

private:
    ChannelStepper red_, green_, blue_;
    std::int64_t k_;
    std::int64_t position_ = 1;
};

} // namespace velmorant
