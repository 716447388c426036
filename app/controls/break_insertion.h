#pragma once
// Text goes into a multiline box's document: every break as a marked block
// separator, every long run in joined pieces.

#include <QStringView>

class QTextCursor;

namespace velmorant::breaks {

// Inserts text at the cursor. A few calls per break or piece, never per character.
void InsertKeepingBreaks(QTextCursor& cursor, QStringView text);

} // namespace velmorant::breaks
