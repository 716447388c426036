#pragma once
// Where each coloured unit's colour comes from. The generator asks by unit
// position only, so another rule can stand in for the two-colour gradient
// without touching the unit loop.

#include "codegen/colour.h"

#include <cstdint>

namespace velmorant {

class UnitColours {
public:
    virtual ~UnitColours() = default;
    // The colour at a 1-based unit position; positions are asked for in growing order.
    virtual Rgb At(std::int32_t position) = 0;
};

} // namespace velmorant
