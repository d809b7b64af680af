#include "about/Lights4.h"

#include "strip/Lights1.h"
#include "strip/Settings.h"

TForm4 *Form4 = nullptr;

TForm4::TForm4() : TForm(bsNone, Form1)
{
    SetCaption(QStringLiteral("About Tarniva"));
    Font().SetName(QStringLiteral("MS Sans Serif"));
    Font().SetHeight(11);
    Font().SetColor(clWindowText);
    SetClientSize(218, 121);
    move(330, 13);

    Panel1 = new TPanel(this);
    Panel1->SetAlign(alClient);
    Panel1->SetBevelOuter(bvRaised);
    Memo1 = new TMemo(Panel1);
    Memo1->SetBounds(8, 8, 201, 81);
    Memo1->SetReadOnly(true);
    Memo1->SetAlignment(taCenter);
    Memo1->SetColor(8388672);
    Memo1->Font().SetName(QStringLiteral("MS Sans Serif"));
    Memo1->Font().SetHeight(11);
    Memo1->Font().SetColor(clLime);
    Memo1->SetLines({QStringLiteral("Tarniva "), QStringLiteral("Freeware by Orsolen"),
                     QStringLiteral("Version 1.0, 11 December 2026"), QStringLiteral("lights@orsolen.example"),
                     QStringLiteral("https://orsolen.example/tarniva")});
    BitBtn1 = new TBitBtn(Panel1, bkOK);
    BitBtn1->SetBounds(8, 92, 201, 25);

    OnShow = [this](QObject *s) { FormCreate(s); };
    BitBtn1->OnClick = [this](QObject *s) { BitBtn1Click(s); };
}

void TForm4::FormCreate(QObject *)
{
    ApplyDialogFont({&Font(), &Memo1->Font(), &BitBtn1->Font()});
}

void TForm4::BitBtn1Click(QObject *)
{
    SetVisible(false);
}
