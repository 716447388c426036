#include "app/controls/multiline_text_box.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace velmorant {

namespace {

// What the block separator before a block stands for. Without the property it
// is CR LF, so Enter and Qt's own edits make CR LF; 0 is a join, nothing.
constexpr int BreakBeforeProperty = QTextFormat::UserProperty + 1;
constexpr char16_t Join = 0;

// Long enough that joins are rare, short enough that a block lays out at once.
constexpr qsizetype PieceLength = 4096;
// How far back from a full piece a place to wrap anyway is looked for.
constexpr qsizetype CutSearch = 256;

// The characters QTextCursor::insertText turns into block separators.
bool IsBlockBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == 0xFDD0 || c == 0xFDD1;
}

QStringView BreakBefore(const QTextBlock& block) {
    static constexpr char16_t Singles[] = u"\n\r\u2029\uFDD0\uFDD1";
    const QVariant kind = block.blockFormat().property(BreakBeforeProperty);
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

QTextBlockFormat BreakFormat(char16_t kind) {
    QTextBlockFormat format;
    format.setProperty(BreakBeforeProperty, int(kind));
    return format;
}

// Whether cutting right before text[at] would split one character in two.
bool SplitsCharacter(QStringView text, qsizetype at) {
    const QChar c = text[at];
    return c.isLowSurrogate() || c.isMark() || c.unicode() == 0x200D || text[at - 1].unicode() == 0x200D;
}

// Where a line may wrap anyway, so a join there does not show.
bool WrapsAfter(char16_t c) {
    return c == u' ' || c == u'\t' || c == u']' || c == u'>' || c == u',' || (c >= 0x2E80 && c <= 0x9FFF) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

// The end of a piece that starts at from and would be full at nominal (from < nominal < to).
qsizetype PieceEnd(QStringView text, qsizetype from, qsizetype nominal, qsizetype to) {
    for (qsizetype at = nominal; at > from && at > nominal - CutSearch; --at)
        if (WrapsAfter(text[at - 1].unicode()) && !SplitsCharacter(text, at))
            return at;
    qsizetype at = nominal;
    while (at > from + 1 && SplitsCharacter(text, at))
        --at;
    if (SplitsCharacter(text, at)) // a run of marks as long as a piece: cut after it
        for (at = nominal; at < to && SplitsCharacter(text, at);)
            ++at;
    return at;
}

// Inserts text at the cursor, every break as a marked block separator and every
// long run in joined pieces. A few calls per break or piece, never per character.
void InsertKeepingBreaks(QTextCursor& cursor, QStringView text) {
    const QTextCharFormat plain;
    qsizetype inBlock = cursor.positionInBlock();
    const auto insertRun = [&](qsizetype from, qsizetype to) {
        while (to > from && to - from > PieceLength - inBlock) {
            if (inBlock < PieceLength) {
                const qsizetype end = PieceEnd(text, from, from + PieceLength - inBlock, to);
                cursor.insertText(text.sliced(from, end - from).toString(), plain);
                from = end;
            }
            cursor.insertBlock(BreakFormat(Join), plain);
            inBlock = 0;
        }
        if (to > from) {
            cursor.insertText(text.sliced(from, to - from).toString(), plain);
            inBlock += to - from;
        }
    };
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!IsBlockBreak(c))
            continue;
        insertRun(runStart, i);
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            cursor.insertBlock(QTextBlockFormat(), plain);
            ++i;
        } else {
            cursor.insertBlock(BreakFormat(c), plain);
        }
        inBlock = 0;
        runStart = i + 1;
    }
    insertRun(runStart, text.size());
}

} // namespace

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

QString MultiLineTextBox::TextBetween(int from, int to) const {
    QString text;
    text.reserve(to - from);
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (block.position() > from) // the separator before it lies inside
            text += BreakBefore(block);
        const int start = qMax(from, block.position()) - block.position();
        const int end = qMin(to, block.position() + block.length() - 1) - block.position();
        if (end > start)
            text += QStringView(block.text()).sliced(start, end - start);
    }
    return text;
}

QString MultiLineTextBox::Text() const { return TextBetween(0, document()->characterCount() - 1); }

int MultiLineTextBox::TextLength() const {
    int length = document()->characterCount() - 1;
    for (QTextBlock block = document()->begin().next(); block.isValid(); block = block.next())
        length += int(BreakBefore(block).size()) - 1;
    return length;
}

void MultiLineTextBox::SetText(const QString& text) {
    setPlainText(QString()); // also forgets the undo history: code set this text, not the user
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

void MultiLineTextBox::InsertAtCursor(const QString& text) {
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    InsertKeepingBreaks(cursor, text);
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

int MultiLineTextBox::TextOffset(int documentPosition) const {
    const QTextBlock target = document()->findBlock(documentPosition);
    int offset = documentPosition;
    for (QTextBlock block = document()->begin(); block.isValid() && block != target;) {
        block = block.next();
        offset += int(BreakBefore(block).size()) - 1;
    }
    return offset;
}

int MultiLineTextBox::DocumentPosition(int textOffset) const {
    int offset = 0; // the text offset where the block starts
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const int length = block.length() - 1;
        if (textOffset <= offset + length)
            return block.position() + (textOffset - offset);
        offset += length;
        if (!block.next().isValid())
            break;
        offset += int(BreakBefore(block.next()).size());
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
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
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
    // Enter types CR LF, and so does Shift+Enter: a soft line break has no place
    // in this box. The new block must not take over the break mark of the one it splits.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier) {
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.endEditBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }

    // A key that moves or deletes by character or word first steps over the
    // joins in its direction, so it acts on the text and not on a join.
    const bool selects = event == QKeySequence::SelectNextChar || event == QKeySequence::SelectPreviousChar ||
                         event == QKeySequence::SelectNextWord || event == QKeySequence::SelectPreviousWord;
    const bool forward = event == QKeySequence::MoveToNextChar || event == QKeySequence::SelectNextChar ||
                         event == QKeySequence::MoveToNextWord || event == QKeySequence::SelectNextWord ||
                         event == QKeySequence::Delete || event == QKeySequence::DeleteEndOfWord;
    const bool backward = event == QKeySequence::MoveToPreviousChar || event == QKeySequence::SelectPreviousChar ||
                          event == QKeySequence::MoveToPreviousWord || event == QKeySequence::SelectPreviousWord ||
                          event == QKeySequence::Backspace || event->key() == Qt::Key_Backspace ||
                          event == QKeySequence::DeleteStartOfWord;
    QTextCursor cursor = textCursor();
    if ((forward || backward) && (selects || !cursor.hasSelection())) {
        const auto mode = selects ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
        const int before = cursor.position();
        while (forward && cursor.atBlockEnd() && IsJoin(cursor.block().next()))
            cursor.setPosition(cursor.position() + 1, mode);
        while (backward && cursor.atBlockStart() && IsJoin(cursor.block()))
            cursor.setPosition(cursor.position() - 1, mode);
        if (cursor.position() != before)
            setTextCursor(cursor);
    }
    QPlainTextEdit::keyPressEvent(event);
}

QMimeData* MultiLineTextBox::createMimeDataFromSelection() const {
    // Copy exactly what the selection holds, line breaks as they are.
    auto* data = new QMimeData;
    const QTextCursor cursor = textCursor();
    data->setText(TextBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

void MultiLineTextBox::insertFromMimeData(const QMimeData* source) {
    if (source->hasText())
        InsertAtCursor(source->text());
}

} // namespace velmorant
