#pragma once

#include <QGroupBox>
#include <QMouseEvent>

#include <cstdint>

namespace velmorant {

// A captioned group box; its children sit in its own coordinates.
class Frame final : public QGroupBox {
    Q_OBJECT
public:
    explicit Frame(QWidget* parent) : QGroupBox(parent) { setMouseTracking(true); }

signals:
    void mouseMove(std::int16_t button);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace velmorant
