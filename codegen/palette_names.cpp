#include "codegen/palette_names.h"

namespace velmorant {

// None yet.
std::span<const PaletteName> PaletteNames() { return {}; }

} // namespace velmorant
