#include "app/controls/combo_box.h"

#include <QLineEdit>

namespace velmorant {

ComboBox::ComboBox(QWidget* parent, bool editable) : QComboBox(parent) {
    setEditable(editable);
    if (editable)
        setInsertPolicy(QComboBox::NoInsert); // Enter must not add the typed text as an entry
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
