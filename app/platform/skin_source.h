#pragma once

#include <QByteArray>
#include <QString>

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

// The skin for the path the window hands over. A regular file of at most
// MaxSkinBytes at that path wins; anything else there (nothing, an unreadable
// file, a FIFO, a device, a directory, a larger file) gives way at once to the
// installed skin under share/ (relative to the program, so any prefix works),
// and that in turn to the copy built into the program.
SkinFile ReadSkin(const QString& path, const QString& programDirectory);

} // namespace velmorant
