#include "app/platform/skin_source.h"

#include <QFileInfo>

namespace velmorant {

QString SkinSource(const QString& path, const QString& programDirectory) {
    if (QFileInfo::exists(path))
        return path;
    const QString installed = programDirectory + QStringLiteral("/../share/velmorant/black.she");
    if (QFileInfo::exists(installed))
        return installed;
    return QStringLiteral(":/velmorant/black.she");
}

} // namespace velmorant
