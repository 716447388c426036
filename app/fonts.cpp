#include "app/fonts.h"

#include "app/qstring_convert.h"
#include "core/conversion/choices.h"

#include <QFont>
#include <QStringList>

namespace velmorant {

void InstallFontSubstitutes() {
    const QStringList cjk = {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                             QStringLiteral("Droid Sans Fallback"), QStringLiteral("AR PL UMing CN")};
    // The closest installed Latin face, where the window's face has one; the
    // Chinese faces take the CJK ones alone.
    const struct {
        std::u16string_view face;
        const char* latin;
    } latinFaces[] = {{u"Arial", "Liberation Sans"},
                      {u"Courier new", "Liberation Mono"},
                      {u"Georgia", "DejaVu Serif"},
                      {u"Tahoma", "DejaVu Sans"},
                      {u"Impact", "DejaVu Sans"}};
    for (const std::u16string_view face : FontChoices()) {
        QStringList substitutes = cjk;
        for (const auto& [latinFace, latin] : latinFaces)
            if (latinFace == face)
                substitutes.prepend(QString::fromUtf8(latin));
        QFont::insertSubstitutions(ToQString(face), substitutes);
    }
}

} // namespace velmorant
