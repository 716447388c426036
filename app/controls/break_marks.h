#pragma once
// What each block separator of a multiline box's document stands for: a break
// of the text (CR LF, LF, CR, U+2029 ...) or nothing, a join between two
// pieces of one long paragraph. The mark is kept in the character format of
// the separator itself, so a removal that takes the separator takes its mark
// with it, whichever of the two blocks Qt keeps.

#include <QStringView>
#include <QTextCharFormat>

class QTextBlock;

namespace velmorant::breaks {

// The mark of a join.
inline constexpr char16_t Join = 0;

// The characters QTextCursor::insertText turns into block separators.
bool IsBlockBreak(char16_t c);

// What the separator before a block stands for; empty for a join.
QStringView BreakBefore(const QTextBlock& block);

// Whether the separator before a block is a join.
bool IsJoin(const QTextBlock& block);

// The format of a separator standing for the single break character kind, or Join.
QTextCharFormat BreakFormat(char16_t kind);

// The format of a separator standing for CR LF: no mark, so it is also what Qt gives.
QTextCharFormat CrLfFormat();

} // namespace velmorant::breaks
