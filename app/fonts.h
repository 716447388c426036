#pragma once

namespace velmorant {

// The Chinese faces the window names rarely exist on Linux
// desktops; map them, and the Latin faces, onto installed faces with Chinese
// glyphs so that no character shows as a box.
void InstallFontSubstitutes();

} // namespace velmorant
