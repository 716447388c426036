#include "app/platform/skin_source.h"

#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace velmorant {

namespace {

struct CloseOnExit {
    int fd;
    ~CloseOnExit() { ::close(fd); }
};

} // namespace

std::optional<QByteArray> ReadSmallRegularFile(const QString& path, qint64 limit) {
    const QByteArray name = QFile::encodeName(path);
    // Looked at before opening, since opening some devices already acts.
    struct stat before {};
    if (::stat(name.constData(), &before) != 0 || !S_ISREG(before.st_mode) || before.st_size > limit)
        return std::nullopt;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const CloseOnExit closer{fd};
    // The path may name something else by now.
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_size > limit)
        return std::nullopt;
    QByteArray bytes(limit + 1, Qt::Uninitialized);
    qint64 got = 0;
    while (got < limit + 1) {
        const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(limit + 1 - got));
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        got += n;
    }
    if (got > limit)
        return std::nullopt;
    bytes.truncate(got);
    return bytes;
}

QStringList SkinPlaces(const QString& path, const QString& programDirectory) {
    const QString name = QStringLiteral("/velmorant/black.she");
    QStringList places{path};
    // An empty folder (no home to find) would make the name absolute.
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!user.isEmpty())
        places.append(user + name);
    places.append(programDirectory + QStringLiteral("/../share") + name);
    for (const QString& system : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        if (!system.isEmpty() && system != user)
            places.append(system + name);
    return places;
}

SkinFile ReadSkin(const QString& path, const QString& programDirectory) {
    for (const QString& place : SkinPlaces(path, programDirectory))
        if (std::optional<QByteArray> text = ReadSmallRegularFile(place, MaxSkinBytes))
            return {place, *std::move(text)};
    const QString builtIn = QStringLiteral(":/velmorant/black.she");
    QFile file(builtIn);
    file.open(QIODevice::ReadOnly);
    return {builtIn, file.readAll()};
}

} // namespace velmorant
