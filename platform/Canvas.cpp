#include "platform/Canvas.h"

#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// With a 1-pixel pen the outline of QRect(x, y, w, h) covers w + 1 by h + 1 pixels: this keeps
// the ellipse inside the box, right and bottom edges excluded.
void paintEllipse(QPainter &painter, int left, int top, int right, int bottom)
{
    painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

using Span = TCanvas::Span;

// Which device pixels the platform's ellipse covers in a box of this size, drawn in one colour.
// The shape only depends on the size, so it is worked out once and then copied as spans: the
// lights of a busy strip are drawn many thousand times a second. On a scaled display the ellipse
// is inscribed in the box's device pixels, so its edge is as fine as the display and it stays
// centred in the box; pen and fill share the colour, so the pen's width is of no account.
const std::vector<Span> &ellipseSpans(int width, int height, int ratio)
{
    static QHash<quint64, std::vector<Span>> cache;
    const quint64 key = (quint64(width) << 40) | (quint64(height) << 16) | quint64(ratio);
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    QImage mask(width * ratio, height * ratio, QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    QPainter painter(&mask);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    paintEllipse(painter, 0, 0, width * ratio, height * ratio);
    painter.end();
    std::vector<Span> spans;
    for (int y = 0; y < mask.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        for (int x = 0; x < mask.width();) {
            if (!qAlpha(line[x])) {
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < mask.width() && qAlpha(line[x]))
                ++x;
            spans.push_back({y, x0, x});
        }
    }
    return *cache.insert(key, std::move(spans));
}

} // namespace

int TCanvas::IntegralRatio() const
{
    const qreal ratio = m_raster.devicePixelRatio();
    return std::floor(ratio) == ratio ? int(ratio) : 0;
}

void TCanvas::FillDeviceSpans(const std::vector<Span> &spans, QPoint origin, QRgb colour)
{
    uchar *bits = m_raster.bits();
    const qsizetype stride = m_raster.bytesPerLine();
    const int width = m_raster.width(), height = m_raster.height();
    for (const Span &span : spans) {
        const int y = origin.y() + span.y;
        const int x0 = std::max(origin.x() + span.x0, 0), x1 = std::min(origin.x() + span.x1, width);
        if (y < 0 || y >= height || x0 >= x1)
            continue;
        auto *line = reinterpret_cast<QRgb *>(bits + y * stride);
        std::fill(line + x0, line + x1, colour);
    }
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    const int ratio = IntegralRatio();
    const bool oneColour = Brush.Style == bsSolid && Brush.Color == Pen.Color;
    if (ratio && oneColour && m_raster.format() == QImage::Format_RGB32) {
        FillDeviceSpans(ellipseSpans(right - left, bottom - top, ratio), QPoint(left, top) * ratio,
                        ColorToQColor(Brush.Color).rgb());
    } else {
        QPainter painter(&m_raster);
        painter.setPen(QPen(ColorToQColor(Pen.Color), 1));
        if (Brush.Style == bsSolid)
            painter.setBrush(ColorToQColor(Brush.Color));
        paintEllipse(painter, left, top, right, bottom);
    }
    Changed(QRect(left, top, right - left, bottom - top));
}

void TCanvas::FillRect(const TRect &box)
{
    if (box.IsEmpty())
        return;
    const int ratio = IntegralRatio();
    if (ratio && m_raster.format() == QImage::Format_RGB32) {
        const QRect device = QRect(box.Left * ratio, box.Top * ratio, (box.Right - box.Left) * ratio,
                                   (box.Bottom - box.Top) * ratio) & m_raster.rect();
        const QRgb colour = ColorToQColor(Brush.Color).rgb();
        for (int y = device.top(); y <= device.bottom(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(m_raster.scanLine(y));
            std::fill(line + device.left(), line + device.right() + 1, colour);
        }
    } else {
        QPainter painter(&m_raster);
        painter.fillRect(box.ToQRect(), ColorToQColor(Brush.Color));
    }
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
