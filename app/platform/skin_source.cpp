#include "app/platform/skin_source.h"

#include <QFile>

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

SkinFile ReadSkin(const QString& path, const QString& programDirectory) {
    for (const QString& place : {path, programDirectory + QStringLiteral("/../share/velmorant/black.she")})
        if (std::optional<QByteArray> text = ReadSmallRegularFile(place, MaxSkinBytes))
            return {place, *std::move(text)};
    const QString builtIn = QStringLiteral(":/velmorant/black.she");
    QFile file(builtIn);
    file.open(QIODevice::ReadOnly);
    return {builtIn, file.readAll()};
}

} // namespace velmorant
