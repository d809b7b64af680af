#pragma once

#include "platform/Colors.h"

#include <QImage>
#include <QRect>
#include <vector>

// A box with exclusive right and bottom edges.
struct TRect
{
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    friend bool operator==(const TRect &, const TRect &) = default;
};

enum TBrushStyle { bsSolid, bsClear };

struct TPen
{
    TColor Color = clBlack;
};

struct TBrush
{
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// Drawing on a fixed raster in logical pixels. The raster may have more device pixels than logical
// ones (a scaled display); shapes are then drawn at the raster's full resolution. The canvas
// remembers what it changed, so the image repaints only that.
class TCanvas
{
public:
    explicit TCanvas(QImage &raster) : m_raster(raster) {}

    TPen Pen;
    TBrush Brush;

    // An ellipse inscribed in the box, outlined with a 1-pixel pen and filled with the brush.
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect &box) { Ellipse(box.Left, box.Top, box.Right, box.Bottom); }
    // Fills the box with the brush alone.
    void FillRect(const TRect &box);
    // Copies a whole raster with its top-left corner at (x, y).
    void Draw(int x, int y, const QImage &source);

    // What was drawn since the last call, in logical pixels.
    QRect TakeChanged();

    // A run of device pixels, [x0, x1) on row y.
    struct Span
    {
        int y, x0, x1;
    };

private:
    int IntegralRatio() const;
    void FillDeviceSpans(const std::vector<Span> &spans, QPoint deviceOrigin, QRgb colour);
    void Changed(const QRect &area);

    QImage &m_raster;
    QRect m_changed;
};
