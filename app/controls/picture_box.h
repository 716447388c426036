#pragma once

#include "core/colour/colour.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>

namespace velmorant {

// Told of every drawing operation; the window tests record them.
class PictureRecorder {
public:
    virtual ~PictureRecorder() = default;
    virtual void Cleared() = 0;
    virtual void LineDrawn(QPointF from, QPointF to, PackedRgb colour) = 0;
    virtual void Printed(const QString& text, double currentX, double currentY, PackedRgb foreColor,
                         const QFont& font) = 0;
};

// A drawing surface that keeps what is drawn on it in a backing image, so it
// survives being covered and uncovered. Coordinates are twips unless Scale
// gives the box a user coordinate system over its inner area.
class PictureBox final : public QWidget {
    Q_OBJECT
public:
    PictureBox(QWidget* parent, QRect geometry, bool flatBorder, PackedRgb backColor, PackedRgb foreColor);

    void Cls();
    void SetDrawWidth(int width) { drawWidth_ = qMax(1, width); }
    int DrawWidth() const { return drawWidth_; }
    void Scale(double left, double top, double right, double bottom);
    void Line(double x1, double y1, double x2, double y2, PackedRgb colour);

    PackedRgb ForeColor() const { return foreColor_; }
    void SetForeColor(PackedRgb colour) { foreColor_ = colour; }
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }
    void SetCurrentX(double x) { currentX_ = x; }
    void SetCurrentY(double y) { currentY_ = y; }

    QString FontName() const { return font_.family(); }
    void SetFontName(const QString& name) { font_.setFamily(name); }
    void SetFontBold(bool on) { font_.setBold(on); }
    void SetFontItalic(bool on) { font_.setItalic(on); }
    void SetFontUnderline(bool on) { font_.setUnderline(on); }
    void SetFontStrikethrough(bool on) { font_.setStrikeOut(on); }
    const QFont& Font() const { return font_; }
    // A size the box cannot realise is not taken: FontSize reads back the size in use.
    void SetFontSize(float points);
    float FontSize() const { return fontSize_; }

    // Prints text with its top-left corner at the current position.
    void Print(const QString& text);

    // The inner drawing area in twips.
    double ScaleWidthTwips() const;
    double ScaleHeightTwips() const;

    const QImage& Image() const { return image_; }
    void SetRecorder(PictureRecorder* recorder) { recorder_ = recorder; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect InnerRect() const;
    // Keeps the backing image the size of the inner area, with what it holds.
    void FitImage();
    QPointF ToPixels(double x, double y) const;

    bool flatBorder_;
    PackedRgb backColor_;
    PackedRgb foreColor_;
    QImage image_;
    int drawWidth_ = 1;
    bool scaled_ = false;
    QRectF scale_; // left, top, width, height in user units
    double currentX_ = 0;
    double currentY_ = 0;
    QFont font_;
    float fontSize_ = 9;
    PictureRecorder* recorder_ = nullptr;
};

} // namespace velmorant
