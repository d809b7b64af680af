#pragma once

#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/Image.h"
#include "platform/SpinEdit.h"
#include "platform/StdCtrls.h"
#include "platform/Timer.h"

// The Options dialog: every setting changes the moment its control does; there is no OK or Cancel.
class TForm2 : public TForm
{
    Q_OBJECT
public:
    TForm2();

    TPanel *Panel1;
    TRadioGroup *RadioGroup2, *RadioGroup3, *RadioGroup1;
    TButton *Button1, *Button2, *Button3;
    TGroupBox *GroupBox1;
    TButton *Button12, *Button11, *Button13, *Button14, *Button6, *Button7, *Button8, *Button15, *Button9;
    TImage *Image2;
    TLabel *Label1, *Label2, *Label6, *Label10, *Label3;
    TSpinEdit *SpinEdit7, *SpinEdit9, *SpinEdit10, *SpinEdit20, *SpinEdit8;
    TCheckBox *CheckBox1, *CheckBox2, *CheckBox5, *CheckBox6, *CheckBox7, *CheckBox4;
    TButton *Button5, *Button4;
    TEdit *Edit27;
    TTimer *Timer1;
    TFontDialog FontDialog1;
    TColorDialog ColorDialog1;

    void FormCreate(QObject *Sender);
    void FormCloseQuery(QObject *Sender, bool &CanClose);
    void FormClose(QObject *Sender, TCloseAction &Action);
    void FormDestroy(QObject *Sender);

    // Light geometry and look
    void SpinEdit7Change(QObject *Sender);
    void SpinEdit9Change(QObject *Sender);
    void SpinEdit10Change(QObject *Sender);
    void SpinEdit20Change(QObject *Sender);
    void CheckBox1Click(QObject *Sender);
    void RadioGroup3Click(QObject *Sender);
    void RadioGroup2Click(QObject *Sender);

    // Placement
    void RadioGroup1Click(QObject *Sender);
    void Button1Click(QObject *Sender);
    void Button2Click(QObject *Sender);
    void CheckBox7Click(QObject *Sender);
    void CheckBox4Click(QObject *Sender);
    void CheckBox6Click(QObject *Sender);

    // Sound
    void CheckBox2Click(QObject *Sender);
    void CheckBox5Click(QObject *Sender);
    void SpinEdit8Change(QObject *Sender);
    void Edit27Change(QObject *Sender);
    void Button4Click(QObject *Sender);
    void Button5Click(QObject *Sender);
    void Timer1Timer(QObject *Sender);
    void Image2DblClick(QObject *Sender);

    // Colours
    void Button12Click(QObject *Sender);
    void Button11Click(QObject *Sender);
    void Button13Click(QObject *Sender);
    void Button14Click(QObject *Sender);
    void Button6Click(QObject *Sender);
    void Button7Click(QObject *Sender);
    void Button8Click(QObject *Sender);
    void Button15Click(QObject *Sender);
    void Button9Click(QObject *Sender);
    void NewBackLights();
    void NewFormLights();

    // Dialog font
    void Button3Click(QObject *Sender);
    void FontStoreForward();

private:
    // A change that alters the strip's layout or look redraws it at once, but only while the
    // dialog is shown.
    void Relayout();
    // Size, Spacing and Width: clamp the field to its range, show and store the number, relayout.
    void NumericFieldChange(TSpinEdit *field, int lower, int upper, int &setting);
    void PickColour(TColor &setting);
    // Docks the strip at the top or the bottom edge after the "WUPPER" sound.
    void Dock(int top, int alignment);
};

extern TForm2 *Form2;
