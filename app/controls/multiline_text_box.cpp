#include "app/controls/multiline_text_box.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

#include <utility>
#include <vector>

namespace velmorant {

namespace {

// The document's own block separator stands for CR LF. Every other break
// character is kept in the document as a line separator (it shows as a line
// break) carrying the character it stands for in this property.
constexpr int BreakKindProperty = QTextFormat::UserProperty + 1;
constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t ParagraphSeparator = 0x2029;

char16_t StoredBreak(const QTextCharFormat& format) {
    const QVariant kind = format.property(BreakKindProperty);
    return kind.isValid() ? char16_t(kind.toInt()) : LineSeparator;
}

} // namespace

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

QString MultiLineTextBox::Text() const {
    const QString raw = document()->toRawText();
    QString text(raw.size() + document()->blockCount() - 1, Qt::Uninitialized);
    QChar* out = text.data();
    for (const QChar c : raw) {
        if (c.unicode() == ParagraphSeparator) { // the document's block separator
            *out++ = u'\r';
            *out++ = u'\n';
        } else {
            *out++ = c;
        }
    }
    if (hasStoredBreaks_)
        RestoreStoredBreaks(text);
    return text;
}

int MultiLineTextBox::TextLength() const {
    // Each block separator stands for two code units, every other character for one.
    return document()->characterCount() - 1 + document()->blockCount() - 1;
}

void MultiLineTextBox::RestoreStoredBreaks(QString& text) const {
    // Text offsets run ahead of document positions by one per block separator.
    int offset = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next(), offset += 2) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const char16_t stored = StoredBreak(fragment.charFormat());
            if (stored == LineSeparator)
                continue;
            const QString piece = fragment.text();
            const int at = offset + fragment.position() - block.position();
            for (qsizetype i = 0; i < piece.size(); ++i)
                if (piece.at(i).unicode() == LineSeparator)
                    text[at + i] = QChar(stored);
        }
        offset += block.length() - 1;
    }
}

void MultiLineTextBox::SetText(const QString& text) {
    // CR LF becomes the document's block separator ('\n' for setPlainText); the
    // other breaks are marked one by one afterwards.
    QString plain(text.size(), Qt::Uninitialized);
    QChar* out = plain.data();
    std::vector<std::pair<int, char16_t>> marks;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            *out++ = u'\n';
            ++i;
        } else if (c == u'\r' || c == u'\n' || c == ParagraphSeparator) {
            marks.emplace_back(int(out - plain.data()), c);
            *out++ = LineSeparator;
        } else {
            *out++ = c;
        }
    }
    plain.truncate(out - plain.data());
    document()->setUndoRedoEnabled(false);
    setPlainText(plain);
    for (const auto& [position, kind] : marks) {
        QTextCursor cursor(document());
        cursor.setPosition(position);
        cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setProperty(BreakKindProperty, int(kind));
        cursor.mergeCharFormat(format);
    }
    hasStoredBreaks_ = !marks.empty();
    document()->setUndoRedoEnabled(true);
}

int MultiLineTextBox::TextOffset(int documentPosition) const {
    // Every block separator before the position stands for two code units.
    return documentPosition + document()->findBlock(documentPosition).blockNumber();
}

int MultiLineTextBox::DocumentPosition(int textOffset) const {
    int offset = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const int length = block.length() - 1;
        if (textOffset <= offset + length)
            return block.position() + (textOffset - offset);
        offset += length + 2;
        if (textOffset < offset) // between CR and LF
            return block.position() + length;
    }
    return document()->characterCount() - 1;
}

void MultiLineTextBox::SetSelStart(int start) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(DocumentPosition(qMax(0, start)));
    setTextCursor(cursor);
}

void MultiLineTextBox::SetSelLength(int length) {
    QTextCursor cursor = textCursor();
    const int start = SelStart();
    cursor.setPosition(DocumentPosition(start));
    cursor.setPosition(DocumentPosition(start + qMax(0, length)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

int MultiLineTextBox::SelStart() const { return TextOffset(textCursor().selectionStart()); }

int MultiLineTextBox::SelLength() const {
    const QTextCursor cursor = textCursor();
    return TextOffset(cursor.selectionEnd()) - TextOffset(cursor.selectionStart());
}

void MultiLineTextBox::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    emit gotFocus();
}

void MultiLineTextBox::keyPressEvent(QKeyEvent* event) {
    // A soft line break has no place in this box: Shift+Enter types CR LF too.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers().testFlag(Qt::ShiftModifier)) {
        textCursor().insertBlock();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

QMimeData* MultiLineTextBox::createMimeDataFromSelection() const {
    // Copy exactly what the selection holds, line breaks as they are.
    auto* data = new QMimeData;
    data->setText(Text().mid(SelStart(), SelLength()));
    return data;
}

void MultiLineTextBox::insertFromMimeData(const QMimeData* source) {
    if (source->hasText())
        textCursor().insertText(source->text(), QTextCharFormat());
}

} // namespace velmorant
