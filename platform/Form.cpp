#include "platform/Form.h"

#include "platform/Application.h"
#include "platform/Menus.h"

#include <QCloseEvent>
#include <QMouseEvent>

namespace {
bool toButton(Qt::MouseButton button, TMouseButton &result)
{
    switch (button) {
    case Qt::LeftButton: result = mbLeft; return true;
    case Qt::RightButton: result = mbRight; return true;
    case Qt::MiddleButton: result = mbMiddle; return true;
    default: return false;
    }
}

QPoint clientPoint(QMouseEvent *event)
{
    return event->position().toPoint();
}
} // namespace

void TMouseEvents::Press(QObject *sender, QMouseEvent *event)
{
    TMouseButton button;
    if (!toButton(event->button(), button) || !OnMouseDown)
        return;
    const QPoint p = clientPoint(event);
    Guard([&] { OnMouseDown(sender, button, event->modifiers(), p.x(), p.y()); });
}

void TMouseEvents::Move(QObject *sender, QMouseEvent *event)
{
    if (!OnMouseMove)
        return;
    const QPoint p = clientPoint(event);
    Guard([&] { OnMouseMove(sender, event->modifiers(), p.x(), p.y()); });
}

void TMouseEvents::Release(QWidget *sender, QMouseEvent *event)
{
    TMouseButton button;
    if (!toButton(event->button(), button))
        return;
    const QPoint p = clientPoint(event);
    if (OnMouseUp)
        Guard([&] { OnMouseUp(sender, button, event->modifiers(), p.x(), p.y()); });
    if (button != mbRight)
        return;
    for (QWidget *w = sender; w; w = w->parentWidget()) {
        if (auto *form = qobject_cast<TForm *>(w); form && form->PopupMenu) {
            form->PopupMenu->Popup(event->globalPosition().toPoint());
            return;
        }
    }
}

void TMouseEvents::DoubleClick(QObject *sender)
{
    if (OnDblClick)
        Guard([&] { OnDblClick(sender); });
}

TForm::TForm(TFormBorderStyle borderStyle, QWidget *owner)
    : QWidget(owner, borderStyle == bsNone ? Qt::Window | Qt::FramelessWindowHint
                                           : Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                 Qt::WindowCloseButtonHint)
{
    m_borderStyle = borderStyle;
    setAutoFillBackground(true);
    SetColor(m_color);
}

void TForm::SetClientSize(int width, int height)
{
    // A tool window cannot be sized by the user.
    if (m_borderStyle == bsToolWindow)
        setFixedSize(width, height);
    else
        resize(width, height);
}

void TForm::SetLeft(int value)
{
    move(value, y());
}

void TForm::SetTop(int value)
{
    move(x(), value);
}

void TForm::SetWidth(int value)
{
    resize(value, height());
}

void TForm::SetHeight(int value)
{
    resize(width(), value);
}

void TForm::SetColor(TColor value)
{
    m_color = value;
    QPalette p = palette();
    p.setColor(QPalette::Window, ColorToQColor(value));
    setPalette(p);
}

void TForm::SetVisible(bool value)
{
    if (value == isVisible())
        return;
    if (value) {
        show();
        activateWindow();
    } else {
        hide();
    }
}

void TForm::DoCreate()
{
    if (OnCreate)
        Guard([&] { OnCreate(this); });
}

void TForm::DoDestroy()
{
    if (OnDestroy)
        Guard([&] { OnDestroy(this); });
}

void TForm::closeEvent(QCloseEvent *event)
{
    // The window is hidden or the program ends by our own decision, never by Qt's.
    event->ignore();
    bool canClose = true;
    if (OnCloseQuery && (!Guard([&] { OnCloseQuery(this, canClose); }) || !canClose))
        return;
    const bool isMain = Application && Application->MainForm() == this;
    TCloseAction action = isMain ? caFree : caHide;
    if (OnClose && !Guard([&] { OnClose(this, action); }))
        return;
    if (action == caNone)
        return;
    if (isMain)
        Application->Terminate();
    else
        hide();
}

void TForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous() && OnShow)
        Guard([&] { OnShow(this); });
}

void TForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && OnActivate)
        Guard([&] { OnActivate(this); });
}

void TForm::mousePressEvent(QMouseEvent *event)
{
    Press(this, event);
}

void TForm::mouseMoveEvent(QMouseEvent *event)
{
    Move(this, event);
}

void TForm::mouseReleaseEvent(QMouseEvent *event)
{
    Release(this, event);
}

void TForm::mouseDoubleClickEvent(QMouseEvent *event)
{
    Press(this, event);
    DoubleClick(this);
}
