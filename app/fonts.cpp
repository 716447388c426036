#include "app/fonts.h"

#include <QFont>
#include <QStringList>

namespace velmorant {

void InstallFontSubstitutes() {
    const QStringList cjk = {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                             QStringLiteral("Droid Sans Fallback"), QStringLiteral("AR PL UMing CN")};
    for (const char* face : {"宋体", "新宋体", "楷体_GB2312", "黑体"})
        QFont::insertSubstitutions(QString::fromUtf8(face), cjk);
    const struct {
        const char* face;
        const char* latin;
    } latinFaces[] = {{"Arial", "Liberation Sans"},
                      {"Courier new", "Liberation Mono"},
                      {"Georgia", "DejaVu Serif"},
                      {"Tahoma", "DejaVu Sans"},
                      {"Impact", "DejaVu Sans"}};
    for (const auto& [face, latin] : latinFaces)
        QFont::insertSubstitutions(QString::fromUtf8(face), QStringList{QString::fromUtf8(latin)} + cjk);
}

} // namespace velmorant
