#include "app/controls/combo_box.h"

#include <QLineEdit>

namespace velmorant {

ComboBox::ComboBox(QWidget* parent, bool editable) : QComboBox(parent) {
    setEditable(editable);
    if (!editable)
        return;
    // Typing changes nothing by itself: only choosing an entry is a Click. Qt
    // would also pick (and announce) the entry matching the typed text when the
    // edit field loses the focus or takes Enter, and complete it while typing.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
}

void ComboBox::SetText(const QString& text) {
    if (isEditable()) {
        setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
        setEditText(text);
    } else {
        // A pick-list can only show one of its entries; any other text clears it.
        setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
}

} // namespace velmorant
