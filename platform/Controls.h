#pragma once

#include "platform/Font.h"

#include <QWidget>

// What every control of a window has: a place in its parent's client area and a font of its own.
class TControl
{
public:
    explicit TControl(QWidget *self) : m_self(self), m_font(self) {}
    TControl(const TControl &) = delete;
    TControl &operator=(const TControl &) = delete;

    int Left() const { return m_self->x(); }
    int Top() const { return m_self->y(); }
    int Width() const { return m_self->width(); }
    int Height() const { return m_self->height(); }
    void SetBounds(int left, int top, int width, int height) { m_self->setGeometry(left, top, width, height); }

    // Whether the control shows when its window does.
    bool Visible() const { return m_self->parentWidget() ? m_self->isVisibleTo(m_self->parentWidget()) : m_self->isVisible(); }
    void SetVisible(bool value) { m_self->setVisible(value); }
    bool Enabled() const { return m_self->isEnabled(); }
    void SetEnabled(bool value) { m_self->setEnabled(value); }

    TFont &Font() { return m_font; }
    const TFont &Font() const { return m_font; }

private:
    QWidget *m_self;
    TFont m_font;
};
