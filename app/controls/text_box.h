#pragma once

#include "app/controls/text_control.h"

#include <QLineEdit>

#include <cstdint>
#include <functional>

namespace velmorant {

// A single-line edit box. A key press filter may change or cancel (set to 0)
// each typed character before it reaches the box.
class TextBox final : public QLineEdit, public TextControl {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent);

    QString Text() const override { return text(); }
    void SetText(const QString& text) override { setText(text); }
    int TextLength() const override { return int(text().size()); }
    void SetSelStart(int start) override;
    void SetSelLength(int length) override;
    int SelStart() const override;
    int SelLength() const override;

    std::function<void(std::int16_t& keyAscii)> keyPress;

signals:
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace velmorant
