#pragma once

#include <QString>

namespace velmorant {

// The skin file lies beside the program. The separator is appended as it is,
// even after a directory that already ends with one.
inline QString SkinFilePath(const QString& programDirectory) { return programDirectory + QStringLiteral("/black.she"); }

} // namespace velmorant
