#include "codegen/blend_names.h"

namespace velmorant {

namespace {

constexpr BlendName kBlends[] = {
    {"srgb", Blend::Srgb, "each sRGB channel on its own, as the window"},
    {"oklab", Blend::Oklab, "in Oklab, no grey middle"},
};

} // namespace

std::span<const BlendName> BlendNames() { return kBlends; }

std::optional<Blend> FindBlend(std::string_view name) {
    for (const BlendName& row : kBlends)
        if (row.name == name)
            return row.blend;
    return std::nullopt;
}

} // namespace velmorant
