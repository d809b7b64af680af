#pragma once

#include "TestSupport.h"

#include "about/Lights4.h"
#include "platform/Sound.h"
#include "options/Lights2.h"
#include "sound/Lights3.h"
#include "strip/Animation.h"
#include "strip/Layout.h"
#include "strip/Lights1.h"
#include "strip/Settings.h"

// The whole program started on a store holding these values, on a display whose maximised size is
// 1024 x 580. Counts the saves.
class Program
{
public:
    explicit Program(std::initializer_list<std::pair<std::string, std::string>> stored = {})
        : box(QRect(0, 0, 1016, 572))
    {
        box.WriteStore(std::vector<std::pair<std::string, std::string>>(stored));
        Application->CreateForm(Form1);
        Application->CreateForm(Form2);
        Application->CreateForm(Form3);
        Application->CreateForm(Form4);
        Form1->Timer1->SetEnabled(false);
        Form2->Timer1->SetEnabled(false);
        TRegistry::SetWriteObserver([this](const std::string &name) { Saves += name == "OnTop"; });
        // Sounds are only recorded here, with where the strip was when each was asked for.
        qputenv("SDL_AUDIODRIVER", "dummy");
        SetSoundRequestRecorder([this](const std::string &name, unsigned flags) {
            Sounds << QString::fromStdString(name) + ((flags & SND_ASYNC) ? " async" : " sync");
            SoundPositions << Form1->pos();
        });
    }
    ~Program()
    {
        TRegistry::SetWriteObserver({});
        SetSoundRequestRecorder({});
    }

    void ShowOptions()
    {
        Form1->Options1->OnClick(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(Form2));
    }

    Sandbox box;
    int Saves = 0;
    QStringList Sounds;
    QList<QPoint> SoundPositions;
};
