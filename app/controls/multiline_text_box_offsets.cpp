// Two ways to count places in a multiline box. A text offset counts char16s
// of Text, every break as its one or two units and a join as none. A document
// position is QTextDocument's: every block separator, break or join, counts
// one. The mapping walks the blocks from the start, since only the separators
// before a place tell how far the two counts have drifted apart.

#include "app/controls/break_marks.h"
#include "app/controls/multiline_text_box.h"

#include <QTextBlock>

namespace velmorant {

using breaks::BreakBefore;

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

} // namespace velmorant
