#pragma once

#include "core/colour/colour.h"

#include <QLine>
#include <QWidget>

namespace velmorant {

// A straight line drawn on its container, given in the container's pixels.
class LineControl final : public QWidget {
    Q_OBJECT
public:
    LineControl(QWidget* container, QLine line, PackedRgb borderColor);

    QLine Line() const { return line_; }
    PackedRgb BorderColor() const { return borderColor_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLine line_;
    PackedRgb borderColor_;
};

} // namespace velmorant
