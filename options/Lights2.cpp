#include "options/Lights2.h"

#include "about/Lights4.h"
#include "platform/Convert.h"
#include "platform/Screen.h"
#include "platform/Sound.h"
#include "platform/X11Window.h"
#include "sound/Lights3.h"
#include "strip/Animation.h"
#include "strip/Layout.h"
#include "strip/Lights1.h"
#include "strip/Settings.h"

#include <QImage>
#include <algorithm>

TForm2 *Form2 = nullptr;

namespace {

constexpr int labelHeight = 12; // the labels', boxes' and groups' design character height

template <class T> T *place(T *control, int left, int top, int width, int height)
{
    control->SetBounds(left, top, width, height);
    return control;
}

template <class T> T *captioned(T *control, const QString &caption, TColor colour)
{
    control->SetCaption(caption);
    control->Font().SetHeight(labelHeight);
    if (colour != clNone)
        control->Font().SetColor(colour);
    return control;
}

} // namespace

TForm2::TForm2() : TForm(bsToolWindow, Form1)
{
    SetCaption(QStringLiteral("Tarniva Options"));
    SetColor(clBlack);
    Font().SetName(QStringLiteral("MS Sans Serif"));
    Font().SetHeight(11);
    SetClientSize(284, 300);
    move(236, 81);

    Panel1 = new TPanel(this);
    Panel1->SetAlign(alClient);
    Panel1->SetColor(clBlack);
    Panel1->SetBevelWidth(4);

    RadioGroup2 = captioned(place(new TRadioGroup(Panel1), 10, 8, 87, 83), QStringLiteral(" Pattern "), clYellow);
    RadioGroup2->SetItems({QStringLiteral("Side to side"), QStringLiteral("Center out"), QStringLiteral("Sides in"),
                           QStringLiteral("Random")});
    RadioGroup2->SetItemIndex(0);
    RadioGroup3 = captioned(place(new TRadioGroup(Panel1), 104, 8, 65, 83), QStringLiteral("Shape"), clFuchsia);
    RadioGroup3->SetItems({QStringLiteral("Round"), QStringLiteral("Square"), QStringLiteral("Rect")});
    RadioGroup1 = captioned(place(new TRadioGroup(Panel1), 172, 8, 69, 83), QStringLiteral("Alignment"), clAqua);
    RadioGroup1->SetItems({QStringLiteral("Top"), QStringLiteral("None"), QStringLiteral("Bottom")});

    Button1 = captioned(place(new TButton(Panel1), 244, 14, 33, 15), QStringLiteral("Up"), clNone);
    Button2 = captioned(place(new TButton(Panel1), 244, 35, 31, 15), QStringLiteral("Low"), clNone);
    Button3 = captioned(place(new TButton(Panel1), 244, 75, 33, 15), QStringLiteral("Font"), clNone);
    Button3->Font().SetStyle(fsItalic);

    GroupBox1 = captioned(place(new TGroupBox(Panel1), 8, 96, 217, 65), QStringLiteral("Color Settings"), clAqua);
    const auto colourButton = [this](const char *caption, int left, int top, int width) {
        return captioned(place(new TButton(GroupBox1), left, top, width, 15), QString::fromLatin1(caption), clNone);
    };
    Button12 = colourButton("On", 8, 13, 33);
    Button11 = colourButton("Off", 48, 13, 33);
    Button13 = colourButton("Highlight", 88, 13, 57);
    Button14 = colourButton("BackGnd", 152, 13, 57);
    Button6 = colourButton("OOn", 8, 30, 33);
    Button7 = colourButton("OOff", 48, 30, 33);
    Button8 = colourButton("OHighlight", 88, 30, 57);
    Button15 = colourButton("Border", 152, 30, 57);
    Button9 = colourButton("Reset to default colors", 48, 47, 122);

    Image2 = new TImage(Panel1, QImage(QStringLiteral(":/emblem.png")));
    Image2->move(228, 110);

    Label1 = captioned(place(new TLabel(Panel1), 8, 171, 25, 13), QStringLiteral("Size"), clRed);
    SpinEdit7 = place(new TSpinEdit(Panel1), 32, 168, 41, 22);
    Label2 = captioned(place(new TLabel(Panel1), 84, 171, 40, 13), QStringLiteral("Spacing"), clRed);
    SpinEdit9 = place(new TSpinEdit(Panel1), 128, 168, 41, 22);
    Label6 = captioned(place(new TLabel(Panel1), 184, 173, 28, 13), QStringLiteral("Width"), clRed);
    SpinEdit10 = place(new TSpinEdit(Panel1), 220, 168, 53, 22);
    Label10 = captioned(place(new TLabel(Panel1), 8, 197, 32, 13), QStringLiteral("Delay"), clRed);
    SpinEdit20 = place(new TSpinEdit(Panel1), 46, 194, 69, 22);
    SpinEdit20->Font().SetHeight(labelHeight);
    CheckBox1 = captioned(place(new TCheckBox(Panel1), 200, 193, 73, 17), QStringLiteral("HighLights"), clRed);
    Label3 = captioned(place(new TLabel(Panel1), 140, 202, 26, 13), QStringLiteral("Timer"), clLime);
    CheckBox2 = captioned(place(new TCheckBox(Panel1), 8, 220, 73, 17), QStringLiteral("Play sound"), clLime);
    CheckBox5 = captioned(place(new TCheckBox(Panel1), 88, 220, 49, 17), QStringLiteral("Sync"), clLime);
    SpinEdit8 = place(new TSpinEdit(Panel1), 140, 217, 69, 22);
    SpinEdit8->Font().SetHeight(labelHeight);
    Button5 = place(new TButton(Panel1), 230, 217, 42, 22);
    Button5->SetCaption(QStringLiteral("Browse"));
    Button4 = place(new TButton(Panel1), 8, 244, 17, 21);
    Button4->SetCaption(QStringLiteral(">"));
    Button4->Font().SetHeight(15);
    Button4->Font().SetStyle(fsBold);
    Edit27 = place(new TEdit(Panel1), 26, 244, 247, 21);
    CheckBox6 = captioned(place(new TCheckBox(Panel1), 8, 276, 73, 13), QStringLiteral("Moveable"), clAqua);
    CheckBox7 = captioned(place(new TCheckBox(Panel1), 96, 276, 73, 13), QStringLiteral("Full Screen"), clAqua);
    CheckBox4 = captioned(place(new TCheckBox(Panel1), 184, 274, 89, 17), QStringLiteral("Hide Taskbar"), clAqua);

    const struct
    {
        TSpinEdit *field;
        int minimum, maximum;
    } ranges[] = {{SpinEdit7, 4, 16}, {SpinEdit9, 1, 20}, {SpinEdit10, 32, 2048}, {SpinEdit20, 1, 3600000}, {SpinEdit8, 1, 3600000}};
    for (const auto &r : ranges) {
        r.field->SetMinValue(r.minimum);
        r.field->SetMaxValue(r.maximum);
        r.field->SetValue(r.minimum);
    }

    Timer1 = new TTimer(this, 2000, true);

    OnCreate = [this](QObject *s) { FormCreate(s); };
    OnCloseQuery = [this](QObject *s, bool &canClose) { FormCloseQuery(s, canClose); };
    OnClose = [this](QObject *s, TCloseAction &action) { FormClose(s, action); };
    OnDestroy = [this](QObject *s) { FormDestroy(s); };
    SpinEdit7->OnChange = [this](QObject *s) { SpinEdit7Change(s); };
    SpinEdit9->OnChange = [this](QObject *s) { SpinEdit9Change(s); };
    SpinEdit10->OnChange = [this](QObject *s) { SpinEdit10Change(s); };
    SpinEdit20->OnChange = [this](QObject *s) { SpinEdit20Change(s); };
    SpinEdit8->OnChange = [this](QObject *s) { SpinEdit8Change(s); };
    CheckBox1->OnClick = [this](QObject *s) { CheckBox1Click(s); };
    CheckBox2->OnClick = [this](QObject *s) { CheckBox2Click(s); };
    CheckBox4->OnClick = [this](QObject *s) { CheckBox4Click(s); };
    CheckBox5->OnClick = [this](QObject *s) { CheckBox5Click(s); };
    CheckBox6->OnClick = [this](QObject *s) { CheckBox6Click(s); };
    CheckBox7->OnClick = [this](QObject *s) { CheckBox7Click(s); };
    RadioGroup1->OnClick = [this](QObject *s) { RadioGroup1Click(s); };
    RadioGroup2->OnClick = [this](QObject *s) { RadioGroup2Click(s); };
    RadioGroup3->OnClick = [this](QObject *s) { RadioGroup3Click(s); };
    Button1->OnClick = [this](QObject *s) { Button1Click(s); };
    Button2->OnClick = [this](QObject *s) { Button2Click(s); };
    Button3->OnClick = [this](QObject *s) { Button3Click(s); };
    Button4->OnClick = [this](QObject *s) { Button4Click(s); };
    Button5->OnClick = [this](QObject *s) { Button5Click(s); };
    Button12->OnClick = [this](QObject *s) { Button12Click(s); };
    Button11->OnClick = [this](QObject *s) { Button11Click(s); };
    Button13->OnClick = [this](QObject *s) { Button13Click(s); };
    Button14->OnClick = [this](QObject *s) { Button14Click(s); };
    Button6->OnClick = [this](QObject *s) { Button6Click(s); };
    Button7->OnClick = [this](QObject *s) { Button7Click(s); };
    Button8->OnClick = [this](QObject *s) { Button8Click(s); };
    Button15->OnClick = [this](QObject *s) { Button15Click(s); };
    Button9->OnClick = [this](QObject *s) { Button9Click(s); };
    Edit27->OnChange = [this](QObject *s) { Edit27Change(s); };
    Timer1->OnTimer = [this](QObject *s) { Timer1Timer(s); };
    Image2->OnDblClick = [this](QObject *s) { Image2DblClick(s); };
}

// Each control is set as if the user had changed it, so every control whose value changes runs
// its handler: the pattern's positions, the stacking, full width and sound follow the settings.
void TForm2::FormCreate(QObject *)
{
    FontStoreForward();
    SpinEdit20->SetValue(Delay);
    SpinEdit7->SetValue(LEDSize);
    SpinEdit8->SetValue(PTimer);
    SpinEdit9->SetValue(Spacing);
    SpinEdit10->SetValue(BWidth);
    RadioGroup2->SetItemIndex(Pattern);
    RadioGroup1->SetItemIndex(OnTop);
    RadioGroup3->SetItemIndex(LShape);
    Edit27->SetText(DisplayText(WarnFile));
    CheckBox1->SetChecked(HighL);
    CheckBox2->SetChecked(PlayW);
    CheckBox4->SetChecked(HideF);
    CheckBox5->SetChecked(Sync);
    CheckBox6->SetChecked(Moveable);
    CheckBox7->SetChecked(FScreen);
}

void TForm2::FormCloseQuery(QObject *, bool &)
{
    Form1->SaveStuff();
}

void TForm2::FormClose(QObject *, TCloseAction &)
{
    Form1->SaveStuff();
}

void TForm2::FormDestroy(QObject *)
{
    Form1->SaveStuff();
}

void TForm2::Relayout()
{
    if (Visible())
        Form1->Remake();
}

void TForm2::NumericFieldChange(TSpinEdit *field, int lower, int upper, int &setting)
{
    const int value = std::clamp(field->Value(), lower, upper);
    field->SetValue(value); // a corrected text runs this handler again, nested
    setting = value;
    Relayout();
}

void TForm2::SpinEdit7Change(QObject *)
{
    NumericFieldChange(SpinEdit7, 4, 16, LEDSize);
}

void TForm2::SpinEdit9Change(QObject *)
{
    NumericFieldChange(SpinEdit9, 1, 20, Spacing);
}

void TForm2::SpinEdit10Change(QObject *)
{
    NumericFieldChange(SpinEdit10, 32, 2048, BWidth);
}

void TForm2::SpinEdit20Change(QObject *)
{
    // Stored as typed; the step timer never takes less than 1.
    Delay = SpinEdit20->Value();
}

void TForm2::CheckBox1Click(QObject *)
{
    HighL = CheckBox1->Checked();
    Relayout();
}

void TForm2::RadioGroup3Click(QObject *)
{
    LShape = RadioGroup3->ItemIndex();
    Relayout();
}

void TForm2::RadioGroup2Click(QObject *)
{
    Pattern = RadioGroup2->ItemIndex();
    ResetPattern();
}

void TForm2::RadioGroup1Click(QObject *)
{
    OnTop = RadioGroup1->ItemIndex();
    Form1->ApplyZOrder();
}

void TForm2::Dock(int top, int alignment)
{
    const int w = StripWidth();
    Form1->SetWidth(w);
    Form1->Image1->SetWidth(Form1->Width() - 2);
    Form1->Image1->SetHeight(LEDSize + 1);
    Form1->Image2->SetWidth(Form1->Width() - 2);
    Form1->SetTop(top);
    Form1->SetLeft(0);
    AlignInt = alignment;
}

void TForm2::Button1Click(QObject *)
{
    PlaySound("WUPPER", SND_RESOURCE);
    Dock(0, 0);
}

void TForm2::Button2Click(QObject *)
{
    PlaySound("WUPPER", SND_RESOURCE);
    const int b = GetSystemMetrics(SM_CYMAXIMIZED) - 8;
    Dock(b - Form1->Height(), 1);
}

void TForm2::CheckBox7Click(QObject *)
{
    const int w = GetSystemMetrics(SM_CXMAXIMIZED) - 8;
    if (CheckBox7->Checked()) {
        FScreen = true;
        Form1->SetLeft(0);
        Form1->SetWidth(w);
    } else {
        FScreen = false;
    }
    Relayout();
}

void TForm2::CheckBox4Click(QObject *)
{
    HideF = CheckBox4->Checked();
    ShowTaskbarButton(Form1, !HideF);
}

void TForm2::CheckBox6Click(QObject *)
{
    Moveable = CheckBox6->Checked();
}

void TForm2::CheckBox2Click(QObject *)
{
    PlayW = CheckBox2->Checked();
}

void TForm2::CheckBox5Click(QObject *)
{
    Sync = CheckBox5->Checked();
    if (Sync && !PlayW) {
        PlayW = true;
        CheckBox2->SetChecked(true);
    }
}

void TForm2::SpinEdit8Change(QObject *)
{
    PTimer = SpinEdit8->Value();
    Timer1->SetInterval(PTimer);
}

void TForm2::Edit27Change(QObject *)
{
    // The field shows the stored path as text; taking the same text back keeps the stored bytes.
    if (Edit27->Text() != DisplayText(WarnFile))
        WarnFile = Edit27->Text().toStdString();
}

void TForm2::Button4Click(QObject *)
{
    PlaySound(WarnFile, SND_FILENAME | SND_ASYNC);
}

void TForm2::Button5Click(QObject *)
{
    Form3->SetVisible(true);
}

void TForm2::Timer1Timer(QObject *)
{
    if (PlayW && !Sync)
        PlaySound(WarnFile, SND_FILENAME | SND_ASYNC);
}

void TForm2::Image2DblClick(QObject *)
{
    PlaySound("BADGE", SND_RESOURCE);
    Form4->SetVisible(true);
}

// The chooser is not asked whether the user confirmed: the setting takes whatever colour it holds.
void TForm2::PickColour(TColor &setting)
{
    ColorDialog1.Execute();
    setting = ColorDialog1.Color();
}

void TForm2::Button12Click(QObject *)
{
    PickColour(LEDOnIn);
}

void TForm2::Button11Click(QObject *)
{
    PickColour(LEDOffIn);
}

void TForm2::Button13Click(QObject *)
{
    PickColour(HighLightOn);
}

void TForm2::Button14Click(QObject *)
{
    PickColour(BackC);
    NewBackLights();
}

void TForm2::Button6Click(QObject *)
{
    PickColour(LEDOnOut);
}

void TForm2::Button7Click(QObject *)
{
    PickColour(LEDOffOut);
}

void TForm2::Button8Click(QObject *)
{
    PickColour(HighLightOff);
}

void TForm2::Button15Click(QObject *)
{
    PickColour(FormC);
    NewFormLights();
}

void TForm2::Button9Click(QObject *)
{
    LEDOnIn = 0x000000FF;
    LEDOnOut = 0x00000080;
    LEDOffIn = 0x00000055;
    LEDOffOut = 0x11111122;
    HighLightOn = 0x00FFFFFF;
    HighLightOff = 0x00C0C0C0;
    BackC = 0x00000000;
    FormC = 0x00808080;
    NewBackLights();
    NewFormLights();
}

void TForm2::NewBackLights()
{
    TImage *background = Form1->Image2;
    background->Canvas.Brush.Color = BackC;
    background->Canvas.FillRect({0, 0, background->Width(), background->Height()});
    Relayout();
}

void TForm2::NewFormLights()
{
    Form1->SetColor(FormC);
    Relayout();
}

// The chooser is not asked whether the user confirmed: the settings take the font it holds.
void TForm2::Button3Click(QObject *)
{
    TFont &font = FontDialog1.Font();
    font.SetName(DisplayText(DFont));
    font.SetSize(FSize);
    font.SetStyle(FStyle);
    FontDialog1.Execute();
    DFont = font.Name().toStdString();
    FSize = font.Size();
    FStyle = font.Style();
    FontStoreForward();
}

void TForm2::FontStoreForward()
{
    // "Font" keeps its italic.
    ApplyDialogFont({
        &Font(), &Panel1->Font(), &Label1->Font(), &Label2->Font(), &Label3->Font(), &Label6->Font(),
        &Label10->Font(), &SpinEdit7->Font(), &SpinEdit8->Font(), &SpinEdit9->Font(), &SpinEdit10->Font(),
        &SpinEdit20->Font(), &CheckBox1->Font(), &CheckBox2->Font(), &CheckBox4->Font(), &CheckBox5->Font(),
        &CheckBox6->Font(), &CheckBox7->Font(), &RadioGroup1->Font(), &RadioGroup2->Font(),
        &RadioGroup3->Font(), &Button1->Font(), &Button2->Font(), &Button3->Font(), &Button5->Font(),
        &Edit27->Font(), &Button12->Font(), &Button6->Font(), &Button11->Font(), &Button7->Font(),
        &Button13->Font(), &Button8->Font(), &Button14->Font(), &Button15->Font(), &Button9->Font()},
        &Button3->Font());
}
