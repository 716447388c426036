#include "app/controls/multiline_text_box.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>


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

void MultiLineTextBox::InsertKeepingBreaks(QTextCursor& cursor, const QString& text) {
    // CR LF becomes the document's block separator; every other break a line
    // separator marked with the character it stands for.
    const QTextCharFormat plain;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c != u'\r' && c != u'\n' && c != ParagraphSeparator)
            continue;
        if (i > runStart)
            cursor.insertText(text.mid(runStart, i - runStart), plain);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            cursor.insertBlock();
            ++i;
        } else {
            QTextCharFormat format;
            format.setProperty(BreakKindProperty, int(c));
            cursor.insertText(QString(QChar(LineSeparator)), format);
            hasStoredBreaks_ = true;
        }
        runStart = i + 1;
    }
    if (runStart < text.size())
        cursor.insertText(text.mid(runStart), plain);
}

void MultiLineTextBox::SetText(const QString& text) {
    setPlainText(QString()); // also forgets the undo history: code set this text, not the user
    hasStoredBreaks_ = false;
    document()->setUndoRedoEnabled(false);
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    InsertKeepingBreaks(cursor, text);
    cursor.endEditBlock();
    document()->setUndoRedoEnabled(true);
    moveCursor(QTextCursor::Start);
}

void MultiLineTextBox::ReplaceText(const QString& text) {
    QTextCursor cursor(document());
    cursor.beginEditBlock(); // one step for Ctrl+Z
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    InsertKeepingBreaks(cursor, text);
    cursor.endEditBlock();
    setTextCursor(cursor);
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
    // Both redo keys work whatever the desktop's key scheme says.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event == QKeySequence::Undo) {
        undo();
        return;
    }
    if (event == QKeySequence::Redo || (event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
        (event->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
        redo();
        return;
    }
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
