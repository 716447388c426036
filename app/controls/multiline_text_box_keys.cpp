// Keys in the multiline box: undo and redo, Enter and typed text through the
// box's own insertion, and keys that move or delete by character, word or
// block acting on the text across the joins of a long paragraph.

#include "app/controls/break_marks.h"
#include "app/controls/multiline_text_box.h"

#include <QKeyEvent>
#include <QTextBlock>

#include <algorithm>

namespace velmorant {

using breaks::IsBlockBreak;
using breaks::IsJoin;

void MultiLineTextBox::keyPressEvent(QKeyEvent* event) {
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // Both redo keys work whatever the desktop's key scheme says. Undo and redo
    // bring back tidy texts: nothing to tidy after them.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event == QKeySequence::Undo) {
        undo();
        SettleLineCounts(changedFrom_, changedTo_);
        changedFrom_ = changedTo_ = -1;
        return;
    }
    if (event == QKeySequence::Redo || (event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
        (event->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
        redo();
        SettleLineCounts(changedFrom_, changedTo_);
        changedFrom_ = changedTo_ = -1;
        return;
    }
    EditScope scope(*this);
    // Enter types CR LF, and so does Shift+Enter: a soft line break has no place
    // in this box. A typed break character goes in as the break it is.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier) {
        InsertAtCursor(QStringLiteral("\r\n"));
        return;
    }
    const QString typed = event->text();
    if (!(modifiers & Qt::ControlModifier) &&
        std::any_of(typed.cbegin(), typed.cend(), [](QChar c) { return IsBlockBreak(c.unicode()); })) {
        InsertAtCursor(typed);
        return;
    }
    // Typed text goes in plain. Qt would give it the format beside it, which
    // after a separator holds its break mark: text of two formats is two
    // fragments, and Ctrl+Z would take back only part of a deletion over them.
    if (!typed.isEmpty() && !(modifiers & Qt::ControlModifier) && typed.front() != u'\t' &&
        (typed.front().isPrint() || typed.front().category() == QChar::Other_Format ||
         (typed.front().isHighSurrogate() && typed.size() > 1))) {
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock(); // one undo step with any tidying after it
        cursor.insertText(typed, QTextCharFormat());
        cursor.endEditBlock();
        MoveCaret(cursor);
        ensureCursorVisible();
        event->accept();
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
    if (cursor.hasSelection() && SelLength() == 0) { // it holds joins only: no selection of the text
        cursor.setPosition(cursor.position());
        setTextCursor(cursor);
    }
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
    // Delete and Backspace remove as Qt would, a character or a code point, but
    // in one undo step even where it lies in two fragments of the document.
    const bool erases = event == QKeySequence::Delete || event == QKeySequence::Backspace ||
                        (event->key() == Qt::Key_Backspace && !(modifiers & ~Qt::ShiftModifier));
    if (erases && !cursor.hasSelection()) {
        if (forward) {
            cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        } else if (!cursor.atStart()) {
            const QString& buffer = cursor.block().text();
            const int in = cursor.positionInBlock();
            const bool pair = in >= 2 && buffer[in - 1].isLowSurrogate() && buffer[in - 2].isHighSurrogate();
            cursor.setPosition(cursor.position() - (pair ? 2 : 1), QTextCursor::KeepAnchor);
        }
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        cursor.endEditBlock();
        MoveCaret(cursor);
        ensureCursorVisible();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);

    // A move up or down can stop between the two halves of a surrogate pair
    // (QTextLine::xToCursor over the right half of an emoji): back to its start.
    cursor = textCursor();
    const QString& buffer = cursor.block().text();
    const int in = cursor.positionInBlock();
    if (in > 0 && in < buffer.size() && buffer[in].isLowSurrogate() && buffer[in - 1].isHighSurrogate()) {
        cursor.setPosition(cursor.position() - 1,
                           cursor.hasSelection() ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        setTextCursor(cursor);
    }

    // The start and end of a block are those of its paragraph.
    const bool toStart = event == QKeySequence::MoveToStartOfBlock || event == QKeySequence::SelectStartOfBlock;
    const bool toEnd = event == QKeySequence::MoveToEndOfBlock || event == QKeySequence::SelectEndOfBlock;
    if (toStart || toEnd) {
        const auto mode = event == QKeySequence::SelectStartOfBlock || event == QKeySequence::SelectEndOfBlock
                              ? QTextCursor::KeepAnchor
                              : QTextCursor::MoveAnchor;
        cursor = textCursor();
        while (toStart && cursor.atBlockStart() && IsJoin(cursor.block()))
            cursor.setPosition(cursor.block().previous().position(), mode);
        while (toEnd && cursor.atBlockEnd() && IsJoin(cursor.block().next())) {
            const QTextBlock next = cursor.block().next();
            cursor.setPosition(next.position() + next.length() - 1, mode);
        }
        setTextCursor(cursor);
    }
}

} // namespace velmorant
