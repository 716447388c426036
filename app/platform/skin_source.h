#pragma once

#include <QString>

namespace velmorant {

// The skin file to read for the path the window hands over. A file at that
// path wins, even an unreadable one; when none stands there, the installed
// skin under share/ (relative to the program, so any prefix works), else the
// copy built into the program.
QString SkinSource(const QString& path, const QString& programDirectory);

} // namespace velmorant
