// The multiline box: its text set by code or replaced by the user, insertion
// at the caret, input methods, the mouse (a triple-click selects paragraphs),
// drops, and copy and paste with every break as it is.

#include "app/controls/multiline_text_box.h"

#include "app/controls/break_insertion.h"
#include "app/controls/break_marks.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

namespace velmorant {

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, &MultiLineTextBox::NoteChange);
}

void MultiLineTextBox::SetText(const QString& text) {
    EditScope scope(*this, false);
    setPlainText(QString()); // also forgets the undo history: code set this text, not the user
    document()->setUndoRedoEnabled(false);
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    breaks::InsertKeepingBreaks(cursor, text);
    cursor.endEditBlock();
    document()->setUndoRedoEnabled(true);
    moveCursor(QTextCursor::Start);
}

void MultiLineTextBox::ReplaceText(const QString& text) {
    EditScope scope(*this);
    QTextCursor cursor(document());
    cursor.beginEditBlock(); // one step for Ctrl+Z
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    breaks::InsertKeepingBreaks(cursor, text);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void MultiLineTextBox::InsertAtCursor(const QString& text) {
    EditScope scope(*this);
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    breaks::InsertKeepingBreaks(cursor, text);
    cursor.endEditBlock();
    MoveCaret(cursor);
    ensureCursorVisible();
}

void MultiLineTextBox::MoveCaret(const QTextCursor& cursor) {
    // Mostly the box's own cursor has moved with the edit already.
    const QTextCursor caret = textCursor();
    if (caret.anchor() != cursor.anchor() || caret.position() != cursor.position())
        setTextCursor(cursor);
}

void MultiLineTextBox::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    emit gotFocus();
}

void MultiLineTextBox::inputMethodEvent(QInputMethodEvent* event) {
    EditScope scope(*this);
    if (isReadOnly() || (event->commitString().isEmpty() && event->replacementLength() == 0)) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    // The commit goes in through the box's own insertion, breaks and all; Qt
    // ends the composition where it stood and starts the next one. One undo step.
    QTextCursor edit(document());
    edit.beginEditBlock();
    QInputMethodEvent end;
    QPlainTextEdit::inputMethodEvent(&end);
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    if (event->replacementLength() > 0 || event->replacementStart() != 0) {
        const int last = document()->characterCount() - 1;
        const int at = std::clamp(cursor.position() + event->replacementStart(), 0, last);
        cursor.setPosition(at);
        cursor.setPosition(std::min(at + event->replacementLength(), last), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    breaks::InsertKeepingBreaks(cursor, event->commitString());
    MoveCaret(cursor);
    QInputMethodEvent next(event->preeditString(), event->attributes());
    QPlainTextEdit::inputMethodEvent(&next);
    edit.endEditBlock();
    event->accept();
}

void MultiLineTextBox::mousePressEvent(QMouseEvent* event) {
    const bool afterDoubleClick = std::exchange(doubleClicked_, false);
    const int hit = cursorForPosition(event->position().toPoint()).position(); // before Qt scrolls
    EditScope scope(*this);
    QPlainTextEdit::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    if (event->modifiers() == Qt::ShiftModifier) {
        if (selectingParagraphs_)
            SelectWholeParagraphs(hit);
        return;
    }
    // A third press selects the piece under it and its separator: that is a
    // triple-click, and it selects the paragraph.
    const QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block().document()->findBlock(cursor.selectionStart());
    const int blockEnd = block.next().isValid() ? block.next().position() : block.position() + block.length() - 1;
    selectingParagraphs_ = afterDoubleClick && cursor.hasSelection() && cursor.selectionStart() == block.position() &&
                           cursor.selectionEnd() == blockEnd;
    if (selectingParagraphs_) {
        tripleClicked_ = QTextCursor();
        SelectWholeParagraphs(hit);
        tripleClicked_ = textCursor();
    }
}

void MultiLineTextBox::mouseMoveEvent(QMouseEvent* event) {
    const int hit = cursorForPosition(event->position().toPoint()).position();
    QPlainTextEdit::mouseMoveEvent(event);
    if (selectingParagraphs_ && (event->buttons() & Qt::LeftButton))
        SelectWholeParagraphs(hit);
}

void MultiLineTextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    doubleClicked_ = event->button() == Qt::LeftButton;
    selectingParagraphs_ = false;
}

void MultiLineTextBox::SelectWholeParagraphs(int hit) {
    // Back inside the paragraphs the triple-click selected: those again, as Qt
    // does with the piece it selected.
    if (tripleClicked_.hasSelection() && hit >= tripleClicked_.selectionStart() &&
        hit <= tripleClicked_.selectionEnd()) {
        const QTextCursor now = textCursor();
        if (now.anchor() != tripleClicked_.anchor() || now.position() != tripleClicked_.position())
            setTextCursor(tripleClicked_);
        return;
    }
    QTextCursor cursor = textCursor();
    const bool forward = cursor.anchor() <= cursor.position();
    QTextBlock first = document()->findBlock(cursor.selectionStart());
    int start = cursor.selectionStart();
    while (start == first.position() && breaks::IsJoin(first)) {
        first = first.previous();
        start = first.position();
    }
    // A selection that ends just after a join ends inside a paragraph: it runs
    // on to the paragraph's end and the break after it.
    int end = cursor.selectionEnd();
    for (QTextBlock block = document()->findBlock(end); end == block.position() && breaks::IsJoin(block);
         block = block.next())
        end = block.next().isValid() ? block.next().position() : block.position() + block.length() - 1;
    if (start == cursor.selectionStart() && end == cursor.selectionEnd())
        return;
    cursor.setPosition(forward ? start : end);
    cursor.setPosition(forward ? end : start, QTextCursor::KeepAnchor);
    // Where the view stands is the mouse's business, not the selection's.
    const int scrolled = verticalScrollBar()->value();
    setTextCursor(cursor);
    verticalScrollBar()->setValue(scrolled);
}

void MultiLineTextBox::dropEvent(QDropEvent* event) {
    if (isReadOnly() || !event->mimeData()->hasText()) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    // The box drops text itself: Qt's drop sets the caret while its edit is
    // still open, which can crash it once the box has edited in between.
    QDragLeaveEvent over; // ends Qt's drag state: the drop marker and the scrolling
    QPlainTextEdit::dragLeaveEvent(&over);
    EditScope scope(*this);
    QTextCursor at = cursorForPosition(event->position().toPoint());
    QTextCursor edit(document());
    edit.beginEditBlock(); // one undo step, moved or copied
    if (event->dropAction() == Qt::MoveAction && event->source() == viewport()) {
        QTextCursor moved = textCursor();
        moved.removeSelectedText();
    }
    breaks::InsertKeepingBreaks(at, event->mimeData()->text());
    edit.endEditBlock();
    setTextCursor(at);
    ensureCursorVisible();
    event->acceptProposedAction();
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
