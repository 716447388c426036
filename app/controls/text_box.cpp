#include "app/controls/text_box.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace velmorant {

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {}

void TextBox::SetSelStart(int start) { setCursorPosition(qBound(0, start, int(text().size()))); }

void TextBox::SetSelLength(int length) {
    const int start = SelStart();
    setSelection(start, qBound(0, length, int(text().size()) - start));
}

int TextBox::SelStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

int TextBox::SelLength() const { return int(selectedText().size()); }

void TextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    deselect(); // Qt selects all on Tab; here only a GotFocus handler selects, and the caret stays at the end
    emit gotFocus();
}

namespace {

// The character code a key types, as the key press filter sees it: Ctrl plus a
// letter types its control character (Ctrl+V is 22) even where the desktop
// reports no text for it. 0 for keys that type nothing.
int TypedCode(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Delete)
        return 0; // an editing key, not a character
    if (!event.text().isEmpty())
        return event.text().at(0).unicode();
    if (event.modifiers().testFlag(Qt::ControlModifier) && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return event.key() - Qt::Key_A + 1;
    return 0;
}

} // namespace

void TextBox::keyPressEvent(QKeyEvent* event) {
    if (const int code = TypedCode(*event); keyPress && code != 0) {
        std::int16_t key = static_cast<std::int16_t>(code);
        keyPress(key);
        if (key == 0) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace velmorant
