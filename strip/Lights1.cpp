#include "strip/Lights1.h"

#include "options/Lights2.h"
#include "platform/Application.h"
#include "platform/Random.h"
#include "platform/Screen.h"
#include "platform/Sound.h"
#include "platform/X11Window.h"
#include "strip/Animation.h"
#include "strip/Layout.h"
#include "strip/Settings.h"

#include <QIcon>
#include <algorithm>

TForm1 *Form1 = nullptr;

namespace {
constexpr int rasterWidth = 2048, rasterHeight = 17;

// Delay may be below 1 while the user is still typing it; the timer never sees that.
int64_t stepInterval()
{
    return std::max(Delay, 1);
}
} // namespace

TForm1::TForm1() : TForm(bsNone)
{
    SetCaption(QStringLiteral("Year 2000"));
    setWindowIcon(QIcon(QStringLiteral(":/tarniva.png")));
    resize(256, 19);
    move(66, 340);
    SetColor(0x535353);

    Image1 = new TImage(this, QSize(rasterWidth, rasterHeight));
    Image1->SetBounds(1, 1, 257, 17);
    Image1->SetDirectToScreen();
    Timer1 = new TTimer(this, 1, true);
    Exit1 = PopupMenu1.Add(QStringLiteral("Exit"));
    Options1 = PopupMenu1.Add(QStringLiteral("Options"));
    Image2 = new TImage(this, QSize(rasterWidth, rasterHeight));
    Image2->SetBounds(0, 1, 257, 17);
    Image2->SetVisible(false);
    PopupMenu = &PopupMenu1;

    OnCreate = [this](QObject *s) { FormCreate(s); };
    OnCloseQuery = [this](QObject *s, bool &canClose) { FormCloseQuery(s, canClose); };
    OnDestroy = [this](QObject *s) { FormDestroy(s); };
    Timer1->OnTimer = [this](QObject *s) { Timer1Timer(s); };
    Exit1->OnClick = [this](QObject *s) { Exit1Click(s); };
    Options1->OnClick = [this](QObject *s) { Options1Click(s); };
    // A display whose size changes gets a strip laid out for it, so no light shows the opposite
    // of its state.
    WhenWorkAreaChanges(this, [this] { Remake(); });
    for (TMouseEvents *events : std::initializer_list<TMouseEvents *>{this, Image1, Image2}) {
        events->OnMouseDown = [this](QObject *s, TMouseButton b, TShiftState sh, int x, int y) { FormMouseDown(s, b, sh, x, y); };
        events->OnMouseMove = [this](QObject *s, TShiftState sh, int x, int y) { FormMouseMove(s, sh, x, y); };
        events->OnMouseUp = [this](QObject *s, TMouseButton b, TShiftState sh, int x, int y) { FormMouseUp(s, b, sh, x, y); };
    }
}

void TForm1::FormCreate(QObject *)
{
    Randomize();
    const int fullWidth = GetSystemMetrics(SM_CXMAXIMIZED) - 8;

    // A stored value that does not convert is reported; the settings the load did not reach
    // keep their defaults and the start goes on, so the strip is usable.
    Guard([&] { LoadSettings(fullWidth); });
    CorrectSettingRanges();

    Forward = true;
    Pos1 = 1;
    BlankFrame.assign(1024, '0');

    Timer1->SetInterval(stepInterval());
    Timer1->SetEnabled(true);

    SizeStrip(StripWidth());

    SetLeft(FLeft);
    SetTop(FTop);
    if (HideF)
        ShowTaskbarButton(this, false);
    SetColor(FormC);
    ApplyZOrder();
    Remake();
}

void TForm1::FormCloseQuery(QObject *, bool &)
{
    SaveStuff();
}

void TForm1::FormDestroy(QObject *)
{
    SaveStuff();
}

void TForm1::Exit1Click(QObject *)
{
    Application->Terminate();
}

void TForm1::Options1Click(QObject *)
{
    Form2->SetVisible(true);
}

void TForm1::SaveStuff()
{
    SaveSettings(Left(), Top());
}

void TForm1::ApplyZOrder()
{
    switch (OnTop) {
    case 0: SetWindowPos(this, HWND_TOPMOST); break;
    case 1: SetWindowPos(this, HWND_NOTOPMOST); break;
    case 2:
        SetWindowPos(this, HWND_NOTOPMOST);
        SetWindowPos(this, HWND_BOTTOM);
        break;
    default: break; // an unknown choice makes no stacking request
    }
}

void TForm1::SizeStrip(int width)
{
    SetWidth(width);
    Image1->SetWidth(Width() - 2);
    Image1->SetHeight(LEDSize + 1);
    Image2->SetWidth(Width() - 2);
    Image2->SetHeight(LEDSize + 1);
    SetClientHeight(LEDSize + 3);
}

void TForm1::Remake()
{
    const int W = StripWidth();
    SizeStrip(W);

    // A strip wider than the rasters (a wide display) widens them, so lights show across it all.
    Image1->EnsureRasterWidth(W);
    Image2->EnsureRasterWidth(W);

    Image2->Canvas.Brush.Color = BackC;
    Image2->Canvas.FillRect({0, 0, W - 2, LEDSize + 1});
    Image1->Canvas.Draw(0, 0, Image2->Bitmap);

    const int K = LShape != 2 ? RoundUpDiv(W, LEDSize) : RoundUpDiv(W, LEDSize / 2);
    if (size_t(K) > LightOn.size())
        LightOn.resize(size_t(K), false);
    for (int i = 0; i < K; ++i)
        LightOn[size_t(i)] = true;
    // Every light is drawn dark; the strip reaches the screen once for all of them.
    Image1->BeginUpdate();
    for (int i = 0; i < K; ++i)
        SwitchLights(i);
    Image1->EndUpdate();

    PrevFrame = BlankFrame;
}

void TForm1::SwitchLights(int Index)
{
    if (Index < 0 || size_t(Index) >= LightOn.size())
        return;
    const LightBoxes box = LightGeometry(Index);
    TColor outer, inner, highlight;
    if (!LightOn[size_t(Index)]) {
        LightOn[size_t(Index)] = true;
        outer = LEDOnOut, inner = LEDOnIn, highlight = HighLightOn;
    } else {
        LightOn[size_t(Index)] = false;
        outer = LEDOffOut, inner = LEDOffIn, highlight = HighLightOff;
    }

    TCanvas &canvas = Image1->Canvas;
    const auto drawPart = [&](const TRect &part) {
        if (LShape == 0)
            canvas.Ellipse(part);
        else
            canvas.FillRect(part);
    };
    canvas.Pen.Color = outer;
    canvas.Brush.Color = outer;
    canvas.Brush.Style = bsSolid;
    drawPart(box.Outer);
    canvas.Pen.Color = inner;
    canvas.Brush.Color = inner;
    canvas.Brush.Style = bsSolid;
    drawPart(box.Inner);
    canvas.Pen.Color = highlight;
    canvas.Brush.Color = highlight;
    canvas.Brush.Style = bsSolid;
    if (HighL)
        drawPart(box.Highlight);
    Image1->Repaint();
}

void TForm1::Timer1Timer(QObject *)
{
    Timer1->SetInterval(stepInterval());

    // The strip never stays below the bottom of the work area.
    const int limit = GetSystemMetrics(SM_CYMAXIMIZED) - Height() - 8;
    if (limit < Top())
        SetTop(limit);

    const int W = StripWidth();
    const int N = RoundUpDiv(W, LightPitch());
    const int centre = RoundUpDiv(W, 2 * LightPitch()); // the middle, ⌈N ÷ 2⌉
    const size_t frameLength = std::max<size_t>(BlankFrame.size(), size_t(std::max(N, 0)));

    FrameBuilder.clear();
    if (AdvancePattern(N, centre, frameLength) && PlayW && Sync)
        PlaySound(WarnFile, SND_FILENAME | SND_ASYNC);
    NewFrame = FrameBuilder;

    // Only the lights whose state differs are switched, and they reach the screen together. A
    // position past the end of the frame on screen (after a relayout) compares as dark.
    Image1->BeginUpdate();
    for (int p = 1; p <= N; ++p) {
        const char oldChar = size_t(p) <= PrevFrame.size() ? PrevFrame[size_t(p - 1)] : '0';
        if (oldChar != NewFrame[size_t(p - 1)])
            SwitchLights(p - 1);
    }
    Image1->EndUpdate();
    PrevFrame = NewFrame;
}

void TForm1::FormMouseDown(QObject *, TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button == mbLeft)
        Dragging = true;
    if (Dragging) {
        const QPoint p = ClientToScreen(QPoint(X, Y));
        DragX = p.x();
        DragY = p.y();
    }
}

void TForm1::FormMouseMove(QObject *, TShiftState, int X, int Y)
{
    if (!Dragging)
        return;
    const QPoint p = ClientToScreen(QPoint(X, Y));
    if ((p.x() != DragX || p.y() != DragY) && Moveable) {
        SetLeft(Left() + (p.x() - DragX));
        SetTop(Top() + (p.y() - DragY));
    }
    DragX = p.x();
    DragY = p.y();
}

void TForm1::FormMouseUp(QObject *, TMouseButton Button, TShiftState, int, int)
{
    if (Button == mbLeft)
        Dragging = false;
}
