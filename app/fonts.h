#pragma once

namespace velmorant {

// The Chinese faces the window names (宋体, 黑体, ...) rarely exist on Linux
// desktops; map them, and the Latin faces, onto installed faces with Chinese
// glyphs so that no character shows as a box.
void InstallFontSubstitutes();

// Loads the font configuration of the system (tens of milliseconds of parsing
// its files) so that the first text laid out does not wait for it. Safe on any
// thread; the window's first font later finds it done.
void LoadFontConfiguration();

} // namespace velmorant
