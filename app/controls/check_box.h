#pragma once

#include <QCheckBox>

#include <cstdint>

namespace velmorant {

// Value 0 cleared, 1 checked, 2 greyed.
class CheckBox final : public QCheckBox {
public:
    explicit CheckBox(QWidget* parent) : QCheckBox(parent) {}

    std::int16_t Value() const {
        switch (checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
        }
    }
    void SetValue(std::int16_t value) {
        setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    }
};

} // namespace velmorant
