#pragma once

#include "core/colour/colour.h"

#include <QLabel>

#include <cstdint>

namespace velmorant {

// Static text with a fore colour of its own that no skin overrides. A skin may
// choose what stands behind it by that colour, as "#rrggbb": the foreColor
// property.
class Label final : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString foreColor READ ForeColorName)
public:
    explicit Label(QWidget* parent);

    PackedRgb ForeColor() const { return foreColor_; }
    void SetForeColor(PackedRgb colour);
    QString ForeColorName() const;

    // A link opens a page when clicked; assistive technology sees it as a
    // link with a press action (see accessible.cpp).
    bool IsLink() const { return link_; }
    void SetLink(bool link) { link_ = link; }

signals:
    void click();
    void mouseDown(std::int16_t button);
    void mouseMove(std::int16_t button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    PackedRgb foreColor_ = -1;
    bool link_ = false;
};

} // namespace velmorant
