#include "app/controls/break_marks.h"

#include <QTextBlock>

namespace velmorant::breaks {

namespace {

// Without the property a separator is CR LF.
constexpr int BreakProperty = QTextFormat::UserProperty + 1;

} // namespace

bool IsBlockBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == 0xFDD0 || c == 0xFDD1;
}

QStringView BreakBefore(const QTextBlock& block) {
    static constexpr char16_t Singles[] = u"\n\r\u2029\uFDD0\uFDD1";
    const QVariant kind = block.charFormat().property(BreakProperty); // the separator's format
    if (!kind.isValid())
        return u"\r\n";
    const char16_t c = char16_t(kind.toInt());
    if (c == Join)
        return {};
    const QStringView singles(Singles);
    return singles.sliced(singles.indexOf(QChar(c)), 1);
}

bool IsJoin(const QTextBlock& block) {
    return block.isValid() && block.previous().isValid() && BreakBefore(block).isEmpty();
}

QTextCharFormat BreakFormat(char16_t kind) {
    QTextCharFormat format;
    format.setProperty(BreakProperty, int(kind));
    return format;
}

QTextCharFormat CrLfFormat() { return {}; }

} // namespace velmorant::breaks
