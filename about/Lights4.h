#pragma once

#include "platform/Form.h"
#include "platform/StdCtrls.h"

// The About box: a borderless window with a short text and "OK".
class TForm4 : public TForm
{
    Q_OBJECT
public:
    TForm4();

    TPanel *Panel1;
    TMemo *Memo1;
    TBitBtn *BitBtn1;

    void FormCreate(QObject *Sender); // on every showing
    void BitBtn1Click(QObject *Sender);
};

extern TForm4 *Form4;
