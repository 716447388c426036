#pragma once
// QString and std::u16string are both UTF-16: the conversion keeps every char16
// as it is, lone surrogates included.

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace velmorant {

inline std::u16string ToU16(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size()));
}

inline QStringView ToQStringView(std::u16string_view s) {
    return QStringView(s.data(), static_cast<qsizetype>(s.size()));
}

inline QString ToQString(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

} // namespace velmorant
