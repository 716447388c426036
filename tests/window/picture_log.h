#pragma once
// Records what a picture box was asked to draw since it was last cleared.

#include "app/controls/picture_box.h"

#include <QFont>
#include <QPointF>
#include <QString>

#include <utility>
#include <vector>

namespace velmorant {

struct PictureLog final : PictureRecorder {
    struct Print {
        QString text;
        double x, y;
        PackedRgb colour;
        QFont font;
    };
    int clears = 0;
    std::vector<PackedRgb> lineColours;
    std::vector<std::pair<QPointF, QPointF>> lineEnds;
    std::vector<Print> prints;

    void Cleared() override {
        ++clears;
        lineColours.clear();
        lineEnds.clear();
        prints.clear();
    }
    void LineDrawn(QPointF from, QPointF to, PackedRgb colour) override {
        lineColours.push_back(colour);
        lineEnds.emplace_back(from, to);
    }
    void Printed(const QString& text, double x, double y, PackedRgb colour, const QFont& font) override {
        prints.push_back({text, x, y, colour, font});
    }
};

} // namespace velmorant
