#pragma once

#include "platform/Colors.h"
#include "platform/Font.h"

#include <QPoint>
#include <QWidget>
#include <functional>

class TPopupMenu;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = Qt::KeyboardModifiers;
enum TCloseAction { caNone, caHide, caFree };
enum TFormBorderStyle { bsNone, bsToolWindow };

using TNotifyEvent = std::function<void(QObject *Sender)>;
using TMouseEvent = std::function<void(QObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject *Sender, TShiftState Shift, int X, int Y)>;
using TCloseQueryEvent = std::function<void(QObject *Sender, bool &CanClose)>;
using TCloseEvent = std::function<void(QObject *Sender, TCloseAction &Action)>;

// Mouse events of a control, delivered to the program's handlers inside the guard. From a press to
// its release the control holds the mouse capture, so moves and the release reach it even when the
// pointer has left it.
struct TMouseEvents
{
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnDblClick;

    void Press(QObject *sender, QMouseEvent *event);
    void Move(QObject *sender, QMouseEvent *event);
    // The right button's release over a control opens the popup menu of the control or of the
    // nearest window that has one.
    void Release(QWidget *sender, QMouseEvent *event);
    void DoubleClick(QObject *sender);
};

// A top-level window in screen pixels. Left and Top are the outer corner; the sizes are those
// of the client area, which for a window without a border is the whole window.
class TForm : public QWidget, public TMouseEvents
{
    Q_OBJECT
public:
    explicit TForm(TFormBorderStyle borderStyle, QWidget *owner = nullptr);

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }
    void SetLeft(int value);
    void SetTop(int value);
    void SetWidth(int value);
    void SetHeight(int value);
    void SetClientHeight(int value) { SetHeight(value); }
    void SetClientSize(int width, int height);

    TColor Color() const { return m_color; }
    void SetColor(TColor value);

    // The window's own font; controls keep fonts of their own.
    TFont &Font() { return m_font; }

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &value) { setWindowTitle(value); }

    bool Visible() const { return isVisible(); }
    // Showing also activates the window; showing a visible window does nothing.
    void SetVisible(bool value);

    QPoint ClientToScreen(QPoint point) const { return mapToGlobal(point); }

    TPopupMenu *PopupMenu = nullptr;

    TNotifyEvent OnCreate, OnDestroy, OnShow, OnActivate;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

    // Run by the application object around the window's life.
    void DoCreate();
    void DoDestroy();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    TColor m_color = clBtnFace;
    TFormBorderStyle m_borderStyle;
    TFont m_font{this};
};
