#pragma once

#include "core/colour/colour.h"

#include <QLine>
#include <QWidget>

namespace velmorant {

// A straight line drawn on its container, given in the container's pixels.
class LineControl final : public QWidget {
    Q_OBJECT
public:
    LineControl(QWidget* container, QLine line, ColourValue borderColor);

    QLine Line() const { return line_; }
    ColourValue BorderColor() const { return borderColor_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLine line_;
    ColourValue borderColor_;
};

} // namespace velmorant
