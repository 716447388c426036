#pragma once

#include <QComboBox>

namespace velmorant {

// Text is what the box shows, typed or chosen; ListIndex the chosen entry or -1.
// activated() is the Click: raised only by the user's choice of an entry.
class ComboBox final : public QComboBox {
    Q_OBJECT
public:
    ComboBox(QWidget* parent, bool editable);

    QString Text() const { return currentText(); }
    void SetText(const QString& text);
    int ListIndex() const { return currentIndex(); }
};

} // namespace velmorant
