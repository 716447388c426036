#include "app/controls/picture_box.h"

#include "app/controls/colour_value.h"
#include "app/twips.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace velmorant {

namespace {

// The largest size the box will realise; beyond it a single glyph would dwarf the picture.
constexpr float MaxFontPoints = 2048;
// The backing image is drawn at 96 dots per inch: a point is 20 twips, a pixel 15.
constexpr int DotsPerMeterAt96Dpi = 3780;

} // namespace

PictureBox::PictureBox(QWidget* parent, QRect geometry, bool flatBorder, PackedRgb backColor, PackedRgb foreColor)
    : QWidget(parent), flatBorder_(flatBorder), backColor_(backColor), foreColor_(foreColor) {
    setGeometry(geometry);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    font_ = parent ? parent->font() : QFont();
    font_.setPointSizeF(fontSize_);
    FitImage(); // blank from the start, before the box is first shown
}

QRect PictureBox::InnerRect() const { return flatBorder_ ? rect().adjusted(1, 1, -1, -1) : rect(); }

double PictureBox::ScaleWidthTwips() const { return InnerRect().width() * double(TwipsPerPixel); }
double PictureBox::ScaleHeightTwips() const { return InnerRect().height() * double(TwipsPerPixel); }

void PictureBox::resizeEvent(QResizeEvent*) { FitImage(); }

void PictureBox::FitImage() {
    // Kept at the screen's own resolution, so text stays sharp on high-DPI screens.
    const qreal ratio = devicePixelRatioF();
    const QSize size = InnerRect().size().expandedTo(QSize(1, 1));
    if (size == image_.deviceIndependentSize().toSize() && ratio == image_.devicePixelRatio())
        return;
    QImage resized(size * ratio, QImage::Format_RGB32);
    resized.setDevicePixelRatio(ratio);
    resized.setDotsPerMeterX(DotsPerMeterAt96Dpi);
    resized.setDotsPerMeterY(DotsPerMeterAt96Dpi);
    resized.fill(ToQColor(backColor_));
    if (!image_.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, image_);
    }
    image_ = resized;
}

void PictureBox::Cls() {
    image_.fill(ToQColor(backColor_));
    currentX_ = 0;
    currentY_ = 0;
    if (recorder_)
        recorder_->Cleared();
    update();
}

void PictureBox::Scale(double left, double top, double right, double bottom) {
    scaled_ = true;
    scale_ = QRectF(left, top, right - left, bottom - top);
}

QPointF PictureBox::ToPixels(double x, double y) const {
    if (!scaled_)
        return QPointF(x / TwipsPerPixel, y / TwipsPerPixel);
    const QSizeF inner = InnerRect().size();
    return QPointF((x - scale_.left()) * inner.width() / scale_.width(),
                   (y - scale_.top()) * inner.height() / scale_.height());
}

void PictureBox::Line(double x1, double y1, double x2, double y2, PackedRgb colour) {
    const QPointF from = ToPixels(x1, y1);
    const QPointF to = ToPixels(x2, y2);
    {
        QPainter painter(&image_);
        QPen pen(ToQColor(colour));
        pen.setWidth(drawWidth_);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        // Whole pixels, as a one-pixel pen on a raster screen draws them.
        painter.drawLine(QPoint(int(std::floor(from.x())), int(std::floor(from.y()))),
                         QPoint(int(std::floor(to.x())), int(std::floor(to.y()))));
    }
    currentX_ = x2;
    currentY_ = y2;
    if (recorder_)
        recorder_->LineDrawn(QPointF(x1, y1), QPointF(x2, y2), colour);
    update();
}

void PictureBox::SetFontSize(float points) {
    if (!(points > 0) || !std::isfinite(points))
        return;
    fontSize_ = std::min(points, MaxFontPoints);
    font_.setPointSizeF(fontSize_);
}

void PictureBox::Print(const QString& text) {
    const QPointF at = ToPixels(currentX_, currentY_);
    {
        QPainter painter(&image_);
        painter.setFont(font_);
        painter.setPen(ToQColor(foreColor_));
        const QFontMetricsF metrics(font_, &image_);
        painter.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
    }
    if (recorder_)
        recorder_->Printed(text, currentX_, currentY_, foreColor_, font_);
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (flatBorder_) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    painter.drawImage(InnerRect().topLeft(), image_);
}

} // namespace velmorant
