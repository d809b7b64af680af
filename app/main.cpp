#include "about/Lights4.h"
#include "options/Lights2.h"
#include "platform/Application.h"
#include "sound/Lights3.h"
#include "strip/Lights1.h"

int main(int argc, char *argv[])
{
    if (!TApplication::PrepareDisplay())
        return 1;
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarniva"));
    app.CloseOnSessionEnd();
    app.CreateForm(Form1);
    app.CreateForm(Form2);
    app.CreateForm(Form3);
    app.CreateForm(Form4);
    return app.Run();
}
