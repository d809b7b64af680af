#include "platform/Image.h"

#include "platform/X11Window.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace {
QImage blackRaster(QSize logical)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QImage raster(QSize(int(std::ceil(logical.width() * ratio)), int(std::ceil(logical.height() * ratio))),
                  QImage::Format_RGB32);
    raster.setDevicePixelRatio(ratio);
    raster.fill(Qt::black);
    return raster;
}
} // namespace

TImage::TImage(QWidget *parent, QSize rasterSize)
    : QWidget(parent), Bitmap(blackRaster(rasterSize)), Canvas(Bitmap)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TImage::TImage(QWidget *parent, const QImage &picture) : QWidget(parent), Bitmap(picture), Canvas(Bitmap)
{
    resize(picture.deviceIndependentSize().toSize());
}

void TImage::EnsureRasterWidth(int width)
{
    const QSize logical = Bitmap.deviceIndependentSize().toSize();
    if (width <= logical.width())
        return;
    QImage wider = blackRaster(QSize(width, logical.height()));
    QPainter(&wider).drawImage(QPoint(0, 0), Bitmap);
    Bitmap = wider;
}

void TImage::SetDirectToScreen()
{
    if (!OnX11())
        return;
    m_direct = true;
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
}

QPaintEngine *TImage::paintEngine() const
{
    return m_direct ? nullptr : QWidget::paintEngine();
}

void TImage::PutOnScreen(const QRegion &logical)
{
    const qreal ratio = Bitmap.devicePixelRatio();
    for (const QRect &r : logical)
        PutImage(const_cast<TImage *>(this), Bitmap,
                 QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio).toAlignedRect());
}

void TImage::Repaint()
{
    const QRect changed = Canvas.TakeChanged() & rect();
    if (changed.isEmpty() || !isVisible())
        return;
    if (m_updating)
        m_pending += changed;
    else if (m_direct)
        PutOnScreen(changed);
    else
        repaint(changed);
}

void TImage::BeginUpdate()
{
    ++m_updating;
}

void TImage::EndUpdate()
{
    if (--m_updating > 0)
        return;
    QRegion pending;
    std::swap(pending, m_pending);
    // Many scattered boxes go to the screen faster as the one area around them.
    if (pending.rectCount() > 16)
        pending = pending.boundingRect();
    if (pending.isEmpty() || !isVisible())
        return;
    if (m_direct)
        PutOnScreen(pending);
    else
        repaint(pending);
}

void TImage::paintEvent(QPaintEvent *event)
{
    if (m_direct) {
        PutOnScreen(event->region());
        return;
    }
    QPainter painter(this);
    const QRect area = event->rect();
    const qreal ratio = Bitmap.devicePixelRatio();
    const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio);
    painter.drawImage(QRectF(area), Bitmap, source);
}

void TImage::mousePressEvent(QMouseEvent *event)
{
    Press(this, event);
}

void TImage::mouseMoveEvent(QMouseEvent *event)
{
    Move(this, event);
}

void TImage::mouseReleaseEvent(QMouseEvent *event)
{
    Release(this, event);
}

void TImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    Press(this, event);
    DoubleClick(this);
}
