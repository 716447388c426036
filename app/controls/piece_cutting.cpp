#include "app/controls/piece_cutting.h"

namespace velmorant::pieces {

namespace {

// How far back from a full piece a place to wrap anyway is looked for.
constexpr qsizetype CutSearch = 256;

// Where a line may wrap anyway, so a join there does not show.
bool WrapsAfter(char16_t c) {
    return c == u' ' || c == u'\t' || c == u']' || c == u'>' || c == u',' || (c >= 0x2E80 && c <= 0x9FFF) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

} // namespace

bool SplitsCharacter(QStringView text, qsizetype at) {
    const QChar c = text[at];
    return c.isLowSurrogate() || c.isMark() || c.unicode() == 0x200D || text[at - 1].unicode() == 0x200D;
}

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

} // namespace velmorant::pieces
