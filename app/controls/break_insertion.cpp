#include "app/controls/break_insertion.h"

#include "app/controls/break_marks.h"
#include "app/controls/piece_cutting.h"

#include <QTextCursor>

namespace velmorant::breaks {

using pieces::PieceEnd;
using pieces::PieceLength;

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
            cursor.insertBlock(QTextBlockFormat(), CrLfFormat());
            ++i;
        } else {
            cursor.insertBlock(QTextBlockFormat(), BreakFormat(c));
        }
        inBlock = 0;
        runStart = i + 1;
    }
    insertRun(runStart, text.size());
}

} // namespace velmorant::breaks
