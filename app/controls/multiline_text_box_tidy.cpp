// After every edit the box tidies what Qt's own edits can leave behind, in the
// same undo step as the edit.

#include "app/controls/break_marks.h"
#include "app/controls/multiline_text_box.h"
#include "app/controls/piece_cutting.h"

#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

namespace velmorant {

using breaks::BreakBefore;
using breaks::CrLfFormat;
using breaks::IsJoin;

namespace {

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
    return pieces::SplitsCharacter(seam, 1);
}

// A CR and an LF on two separators with nothing between: one CR LF of the text
// that the screen would show as two breaks.
bool IsSplitCrLf(const QTextBlock& block) {
    const QTextBlock middle = block.previous();
    return middle.isValid() && middle.previous().isValid() && middle.length() == 1 && BreakBefore(block) == u"\n" &&
           BreakBefore(middle) == u"\r";
}

} // namespace

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
    const QTextCursor start(block); // moves with the edits below
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
                cursor.insertBlock(QTextBlockFormat(), CrLfFormat());
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
    SettleLineCounts(start.position(), end.position());
}

void MultiLineTextBox::SettleLineCounts(int from, int to) {
    // An edit over several blocks leaves the block it starts in unlaid, still
    // counting the lines it had, until something lays it out. Above the view
    // that shifts the line numbers the scroll bar counts in: the next time Qt
    // narrows the scroll range (a press or a drag above the view lays the block
    // out), it clamps the old number and shows other lines under the mouse.
    // Lay such blocks out now, and keep the view on the line it shows.
    if (from < 0)
        return;
    QTextDocument* const doc = document();
    const QTextBlock top = firstVisibleBlock();
    const int line = verticalScrollBar()->value() - top.firstLineNumber();
    const auto* layout = qobject_cast<const QPlainTextDocumentLayout*>(doc->documentLayout());
    bool settled = false;
    for (QTextBlock block = doc->findBlock(std::min(from, doc->characterCount() - 1));
         block.isValid() && block.position() < top.position() && block.position() <= to; block = block.next()) {
        if (block.lineCount() > 1 && block.layout()->lineCount() == 0) { // one line is a guess, never too many
            layout->ensureBlockLayout(block);
            settled = true;
        }
    }
    if (settled)
        verticalScrollBar()->setValue(top.firstLineNumber() + line);
}

} // namespace velmorant
