#pragma once
// Where the multiline box cuts a long paragraph into the pieces it holds it
// in: after a character where a line may wrap anyway, so the cut does not
// show, and never inside a character.

#include <QStringView>

namespace velmorant::pieces {

// Long enough that joins are rare, short enough that a block lays out at once.
inline constexpr qsizetype PieceLength = 4096;

// Whether cutting right before text[at] would split one character in two (0 < at < size).
bool SplitsCharacter(QStringView text, qsizetype at);

// The end of a piece that starts at from and would be full at nominal (from < nominal < to).
qsizetype PieceEnd(QStringView text, qsizetype from, qsizetype nominal, qsizetype to);

} // namespace velmorant::pieces
