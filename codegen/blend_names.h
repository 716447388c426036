#pragma once
// The blends by name, as the CLI and the page offer them.

#include "codegen/gradient_stops.h"

#include <optional>
#include <span>
#include <string_view>

namespace velmorant {

struct BlendName {
    std::string_view name;
    Blend blend;
    std::string_view summary;
};

std::span<const BlendName> BlendNames();
std::optional<Blend> FindBlend(std::string_view name);

} // namespace velmorant
