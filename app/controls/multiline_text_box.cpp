#include "app/controls/multiline_text_box.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

namespace velmorant {

namespace {

// What a block separator stands for, kept in the character format of the
// separator itself: a removal that takes the separator takes its mark with it,
// whichever of the two blocks Qt keeps. Without the property it is CR LF; 0 is
// a join, nothing.
constexpr int BreakProperty = QTextFormat::UserProperty + 1;
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

const QTextCharFormat CrLf;

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
            cursor.insertBlock(QTextBlockFormat(), BreakFormat(Join));
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
            cursor.insertBlock(QTextBlockFormat(), CrLf);
            ++i;
        } else {
            cursor.insertBlock(QTextBlockFormat(), BreakFormat(c));
        }
        inBlock = 0;
        runStart = i + 1;
    }
    insertRun(runStart, text.size());
}

// A join that must go: one beside an empty piece shows as an empty line, and
// one inside a character draws it as two and stops the caret in it.
bool IsStrayJoin(const QTextBlock& block) {
    if (!IsJoin(block))
        return false;
    const QString before = block.previous().text();
    const QString after = block.text();
    if (before.isEmpty() || after.isEmpty())
        return true;
    const QString seam = before.right(1) + after.left(1);
    return SplitsCharacter(seam, 1);
}

// A CR and an LF on two separators with nothing between: one CR LF of the text
// that the screen would show as two breaks.
bool IsSplitCrLf(const QTextBlock& block) {
    const QTextBlock middle = block.previous();
    return middle.isValid() && middle.previous().isValid() && middle.length() == 1 && BreakBefore(block) == u"\n" &&
           BreakBefore(middle) == u"\r";
}

} // namespace

class MultiLineTextBox::EditScope {
public:
    explicit EditScope(MultiLineTextBox& box, bool joinPreviousEdit = true) : box_(box), join_(joinPreviousEdit) {
        ++box_.scopes_;
    }
    ~EditScope() {
        if (--box_.scopes_ == 0)
            box_.Tidy(join_);
    }
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

private:
    MultiLineTextBox& box_;
    bool join_;
};

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, &MultiLineTextBox::NoteChange);
}

void MultiLineTextBox::NoteChange(int position, int removed, int added) {
    if (tidying_)
        return;
    if (changedFrom_ < 0) {
        changedFrom_ = position;
        changedTo_ = position + added;
    } else {
        changedTo_ = changedTo_ >= position + removed ? changedTo_ - removed + added : position + added;
        changedFrom_ = std::min(changedFrom_, position);
        changedTo_ = std::max(changedTo_, position + added);
    }
    // An edit that came by another road than the box's handlers (a context
    // menu, say) is tidied once it is over.
    if (scopes_ == 0 && !tidyQueued_) {
        tidyQueued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                tidyQueued_ = false;
                if (scopes_ == 0)
                    Tidy(true);
            },
            Qt::QueuedConnection);
    }
}

void MultiLineTextBox::Tidy(bool joinPreviousEdit) {
    if (changedFrom_ < 0)
        return;
    QTextDocument* const doc = document();
    const int last = doc->characterCount() - 1;
    QTextCursor end(doc); // moves with the edits below
    end.setPosition(std::min(changedTo_, last));
    QTextBlock block = doc->findBlock(std::min(changedFrom_, last));
    changedFrom_ = changedTo_ = -1;
    if (block.previous().isValid())
        block = block.previous();
    QTextCursor cursor(doc);
    bool editing = false;
    tidying_ = true;
    while (block.isValid()) {
        const bool strayJoin = IsStrayJoin(block);
        if (strayJoin || IsSplitCrLf(block)) {
            if (!editing) {
                // Part of the edit it tidies: one Ctrl+Z takes back both.
                if (joinPreviousEdit)
                    cursor.joinPreviousEditBlock();
                else
                    cursor.beginEditBlock();
                editing = true;
            }
            const int separators = strayJoin ? 1 : 2;
            cursor.setPosition(block.position() - separators);
            cursor.setPosition(block.position(), QTextCursor::KeepAnchor);
            if (strayJoin)
                cursor.removeSelectedText();
            else
                cursor.insertBlock(QTextBlockFormat(), CrLf);
            block = doc->findBlock(cursor.position());
            if (block.previous().isValid())
                block = block.previous();
            continue;
        }
        const QTextBlock next = doc->findBlock(end.position()).next();
        if (block == next || !block.next().isValid())
            break;
        block = block.next();
    }
    if (editing)
        cursor.endEditBlock();
    tidying_ = false;
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
    EditScope scope(*this, false);
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
    EditScope scope(*this);
    QTextCursor cursor(document());
    cursor.beginEditBlock(); // one step for Ctrl+Z
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    InsertKeepingBreaks(cursor, text);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void MultiLineTextBox::InsertAtCursor(const QString& text) {
    EditScope scope(*this);
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    InsertKeepingBreaks(cursor, text);
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
    // Both redo keys work whatever the desktop's key scheme says. Undo and redo
    // bring back tidy texts: nothing to tidy after them.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event == QKeySequence::Undo) {
        undo();
        changedFrom_ = changedTo_ = -1;
        return;
    }
    if (event == QKeySequence::Redo || (event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
        (event->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
        redo();
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
        cursor.insertText(typed, QTextCharFormat());
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
        cursor.removeSelectedText();
        MoveCaret(cursor);
        ensureCursorVisible();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);

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
    InsertKeepingBreaks(cursor, event->commitString());
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
    while (start == first.position() && IsJoin(first)) {
        first = first.previous();
        start = first.position();
    }
    // A selection that ends just after a join ends inside a paragraph: it runs
    // on to the paragraph's end and the break after it.
    int end = cursor.selectionEnd();
    for (QTextBlock block = document()->findBlock(end); end == block.position() && IsJoin(block); block = block.next())
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
    InsertKeepingBreaks(at, event->mimeData()->text());
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
