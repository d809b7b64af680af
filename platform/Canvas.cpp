#include "platform/Canvas.h"

#include <QPainter>

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    QPainter painter(&m_raster);
    painter.setPen(QPen(ColorToQColor(Pen.Color), 1));
    if (Brush.Style == bsSolid)
        painter.setBrush(ColorToQColor(Brush.Color));
    // With a 1-pixel pen the outline of QRect(x, y, w, h) covers w + 1 by h + 1 pixels: this keeps
    // the ellipse inside the box, right and bottom edges excluded.
    painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    Changed(QRect(left, top, right - left, bottom - top));
}

void TCanvas::FillRect(const TRect &box)
{
    if (box.IsEmpty())
        return;
    QPainter painter(&m_raster);
    painter.fillRect(box.ToQRect(), ColorToQColor(Brush.Color));
    Changed(box.ToQRect());
}

void TCanvas::Draw(int x, int y, const QImage &source)
{
    QPainter painter(&m_raster);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x, y), source);
    Changed(QRect(QPoint(x, y), source.deviceIndependentSize().toSize()));
}

void TCanvas::Changed(const QRect &area)
{
    m_changed |= area;
}

QRect TCanvas::TakeChanged()
{
    const QRect changed = m_changed;
    m_changed = QRect();
    return changed;
}
