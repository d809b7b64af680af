#pragma once

#include "platform/Form.h"
#include "platform/Image.h"
#include "platform/Menus.h"
#include "platform/Timer.h"

// The strip: a borderless window with a row of lights, their animation and the settings' store.
class TForm1 : public TForm
{
    Q_OBJECT
public:
    TForm1();

    TImage *Image1;
    TTimer *Timer1;
    TPopupMenu PopupMenu1;
    TMenuItem *Exit1;
    TMenuItem *Options1;
    TImage *Image2;

    void FormCreate(QObject *Sender);
    void FormCloseQuery(QObject *Sender, bool &CanClose);
    void FormDestroy(QObject *Sender);
    void Exit1Click(QObject *Sender);
    void Options1Click(QObject *Sender);

    void SaveStuff();
    void Remake();
    void SwitchLights(int Index);
    void Timer1Timer(QObject *Sender);

    // Stacking: "Top", "None" or "Bottom" after OnTop; also shows the window.
    void ApplyZOrder();

    void FormMouseDown(QObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void FormMouseMove(QObject *Sender, TShiftState Shift, int X, int Y);
    void FormMouseUp(QObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

private:
    // The window as wide as given and one light high, with the two pictures 1 pixel inside it.
    void SizeStrip(int width);

    bool Dragging = false;
    int DragX = 0, DragY = 0;
};

extern TForm1 *Form1;
