#pragma once

#include "platform/Canvas.h"
#include "platform/Form.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

// A picture control over a fixed raster. The screen shows the raster; repainting for any other
// reason (uncovered, moved) recomputes nothing.
class TImage : public QWidget, public TMouseEvents
{
    Q_OBJECT
public:
    // rasterSize in logical pixels; the raster starts black.
    TImage(QWidget *parent, QSize rasterSize);
    // An image that shows a picture and takes its size.
    TImage(QWidget *parent, const QImage &picture);

    QImage Bitmap;
    TCanvas Canvas;

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }
    void SetWidth(int value) { resize(value, height()); }
    void SetHeight(int value) { resize(width(), value); }
    void SetVisible(bool value) { setVisible(value); }

    // The raster grows (never shrinks) to at least this many logical pixels wide; new pixels are black.
    void EnsureRasterWidth(int width);

    // Puts what the canvas changed on screen now, synchronously.
    void Repaint();
    // On X11 the picture goes straight to its own window, past the toolkit's painting: a strip
    // that changes a hundred times a second costs little more than the timer that drives it.
    void SetDirectToScreen();
    // Between these, repaints are gathered and put on screen together at the end, still before
    // anything else can run: for many lights switched in one go.
    void BeginUpdate();
    void EndUpdate();

protected:
    void paintEvent(QPaintEvent *event) override;
    QPaintEngine *paintEngine() const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void PutOnScreen(const QRegion &logical);

    bool m_direct = false;
    int m_updating = 0;
    QRegion m_pending;
};
