#pragma once

#include <QPushButton>

namespace velmorant {

// A push button; "&" in the caption marks its access key (Alt + that letter).
class CommandButton final : public QPushButton {
public:
    explicit CommandButton(QWidget* parent) : QPushButton(parent) { setAutoDefault(false); }
};

} // namespace velmorant
