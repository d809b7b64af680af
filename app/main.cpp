#include "platform/Application.h"
#include "strip/Lights1.h"

int main(int argc, char *argv[])
{
    if (!TApplication::PrepareDisplay())
        return 1;
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarniva"));
    app.CloseOnSessionEnd();
    app.CreateForm(Form1);
    return app.Run();
}
