#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmorant {

// A skin is a few kilobytes of style sheet; anything larger is not one.
inline constexpr qint64 MaxSkinBytes = 1 << 20;

// The bytes of a regular file of at most `limit` bytes, or nothing. No open
// can block (a FIFO, a device) and no read goes past limit + 1 bytes, so a
// file that grows meanwhile is refused too.
std::optional<QByteArray> ReadSmallRegularFile(const QString& path, qint64 limit);

struct SkinFile {
    QString source; // where the text came from
    QByteArray text;
};

// Where the skin is looked for, in order: the path the window hands over
// (beside the program), velmorant/black.she in the user's data folder
// ($XDG_DATA_HOME), the installed skin under share/ relative to the program
// (so any prefix works), and velmorant/black.she in the system's data folders
// ($XDG_DATA_DIRS).
QStringList SkinPlaces(const QString& path, const QString& programDirectory);

// The skin from the first place that holds a regular file of at most
// MaxSkinBytes. Anything else in a place (nothing, an unreadable file, a FIFO,
// a device, a directory, a larger file) gives way to the next at once; the
// copy built into the program comes last.
SkinFile ReadSkin(const QString& path, const QString& programDirectory);

} // namespace velmorant
