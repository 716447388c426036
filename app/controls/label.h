#pragma once

#include "codegen/colour.h"

#include <QLabel>

#include <cstdint>

namespace velmorant {

// Static text with a fore colour of its own that no skin overrides.
class Label final : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent);

    ColourValue ForeColor() const { return foreColor_; }
    void SetForeColor(ColourValue colour);

signals:
    void click();
    void mouseDown(std::int16_t button);
    void mouseMove(std::int16_t button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    ColourValue foreColor_ = -1;
};

} // namespace velmorant
