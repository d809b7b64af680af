// The 31 settings: defaults, the load and SaveStuff with their orders and names, a bad value.
#include "TestSupport.h"

#include "platform/Exceptions.h"
#include "strip/Settings.h"

using Values = std::vector<std::pair<std::string, std::string>>;

namespace {
const Values defaultsAsSaved = {
    {"OnTop", "1"}, {"FLeft", "12"}, {"FTop", "-3"}, {"Delay", "1"}, {"LShape", "0"}, {"PTimer", "1000"},
    {"LEDSize", "16"}, {"AlignInt", "0"}, {"Pattern", "0"}, {"Spacing", "1"}, {"BWidth", "1016"},
    {"WarnFile", ""}, {"WarnDir", ""}, {"WarnDrive", ""}, {"LEDOnIn", "clRed"}, {"LEDOnOut", "clMaroon"},
    {"LEDOffIn", "$00000055"}, {"LEDOffOut", "$11111122"}, {"HighLightOn", "clWhite"},
    {"HighLightOff", "clSilver"}, {"BackC", "clBlack"}, {"FormC", "clGray"}, {"HighL", "true"},
    {"PLayW", "false"}, {"HideF", "false"}, {"Sync", "false"}, {"Moveable", "false"}, {"FScreen", "true"},
    {"DFont", ""}, {"FSize", "8"}, {"FStyle", ""},
};
}

class Settings : public QObject
{
    Q_OBJECT
private slots:
    void emptyStoreGivesDefaultsAndSavesInOrder()
    {
        Sandbox box;
        LoadSettings(1016);
        QVERIFY(box.StoredValues().empty());
        SaveSettings(12, -3);
        QCOMPARE(box.StoredValues(), defaultsAsSaved);
    }

    // Every value written is read back by the load, the five differently spelled names included.
    void saveThenLoad()
    {
        Sandbox box;
        SetDefaultSettings(1016);
        DFont = "DejaVu Sans"; FSize = 10; FStyle = fsBold | fsItalic; OnTop = 2; Delay = 40; LShape = 2;
        PTimer = 3000; LEDSize = 9; AlignInt = 1; Pattern = 3; Spacing = 4; BWidth = 600;
        WarnFile = "/tmp/a \"b\".wav"; WarnDir = "/tmp"; WarnDrive = "/";
        LEDOnIn = clLime; LEDOnOut = 0x123456; LEDOffIn = clNavy; LEDOffOut = 0x11111122;
        HighLightOn = clYellow; HighLightOff = clGray; BackC = clBtnFace; FormC = clWhite;
        HighL = false; PlayW = true; HideF = true; Sync = true; Moveable = true; FScreen = false;
        SaveSettings(33, 44);
        SetDefaultSettings(0);
        LoadSettings(1016);
        QCOMPARE(DFont, std::string("DejaVu Sans"));
        QCOMPARE(FSize, 10);
        QCOMPARE(int(FStyle), int(fsBold | fsItalic));
        QCOMPARE(OnTop, 2);
        QCOMPARE(FLeft, 33);
        QCOMPARE(FTop, 44);
        QCOMPARE(Delay, 40);
        QCOMPARE(LShape, 2);
        QCOMPARE(PTimer, 3000);
        QCOMPARE(LEDSize, 9);
        QCOMPARE(AlignInt, 1);
        QCOMPARE(Pattern, 3);
        QCOMPARE(Spacing, 4);
        QCOMPARE(BWidth, 600);
        QCOMPARE(WarnFile, std::string("/tmp/a \"b\".wav"));
        QCOMPARE(WarnDir, std::string("/tmp"));
        QCOMPARE(WarnDrive, std::string("/"));
        QCOMPARE(LEDOnIn, clLime);
        QCOMPARE(LEDOnOut, 0x123456);
        QCOMPARE(LEDOffIn, clNavy);
        QCOMPARE(LEDOffOut, 0x11111122);
        QCOMPARE(HighLightOn, clYellow);
        QCOMPARE(HighLightOff, clGray);
        QCOMPARE(BackC, clBtnFace);
        QCOMPARE(FormC, clWhite);
        QCOMPARE(HighL, false);
        QCOMPARE(PlayW, true);
        QCOMPARE(HideF, true);
        QCOMPARE(Sync, true);
        QCOMPARE(Moveable, true);
        QCOMPARE(FScreen, false);
        QCOMPARE(box.Stored("PLayW"), std::string("true"));
        QCOMPARE(box.Stored("LEDOnIn"), std::string("clLime"));
    }

    // The load asks for names in its own spelling and its own order.
    void loadOrderAndNames()
    {
        Sandbox box;
        // A value that does not convert, placed on each name in turn, with good values before it
        // and empty (failing) ones after it: the load must meet it first, under its own spelling.
        const std::vector<std::string> loadOrder = {
            "DFont", "FSize", "FStyle", "OnTop", "FLeft", "FTop", "Delay", "LShape", "PTimer", "LEDSize",
            "AlignInt", "Pattern", "Spacing", "BWidth", "LedOnIn", "LedOnOut", "LedOffIn", "LedOffOut",
            "HighLightOn", "HighLightOff", "BackC", "FormC"};
        for (size_t bad = 0; bad < loadOrder.size(); ++bad) {
            Values values;
            for (size_t i = 0; i < loadOrder.size(); ++i)
                values.push_back({loadOrder[i], i == bad ? "x" : (i < bad ? "9" : "")});
            box.WriteStore(values);
            SetDefaultSettings(1016);
            bool failed = false;
            try {
                LoadSettings(1016);
            } catch (const EConvertError &e) {
                failed = e.Message == QStringLiteral("'x' is not a valid integer value");
            }
            // A text and a style set never fail.
            const bool neverFails = loadOrder[bad] == "DFont" || loadOrder[bad] == "FStyle";
            QVERIFY2(failed != neverFails, loadOrder[bad].c_str());
        }
    }

    void badValueStopsTheLoad()
    {
        Sandbox box;
        box.WriteStore({{"FLeft", "5"}, {"Delay", "abc"}, {"LShape", "2"}, {"LedOnIn", "clLime"}, {"HighL", "false"}});
        try {
            LoadSettings(1016);
            QFAIL("no failure");
        } catch (const EConvertError &e) {
            QCOMPARE(e.Message, QStringLiteral("'abc' is not a valid integer value"));
        }
        QCOMPARE(FLeft, 5);
        QCOMPARE(Delay, 1);
        QCOMPARE(LShape, 0);
        QCOMPARE(LEDOnIn, clRed);
        QCOMPARE(HighL, true);
        QCOMPARE(BWidth, 1016);
    }

    void onTopRepair_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("fails");
        QTest::newRow("true") << "true" << "1" << false;
        QTest::newRow("false") << "false" << "1" << false;
        QTest::newRow("capitalised True fails") << "True" << "True" << true;
        QTest::newRow("a choice stays") << "0" << "0" << false;
    }
    void onTopRepair()
    {
        QFETCH(QString, stored);
        QFETCH(QString, after);
        QFETCH(bool, fails);
        Sandbox box;
        box.WriteStore({{"OnTop", stored.toStdString()}});
        bool failed = false;
        try {
            LoadSettings(1016);
        } catch (const EConvertError &) {
            failed = true;
        }
        QCOMPARE(failed, fails);
        QCOMPARE(QString::fromStdString(box.Stored("OnTop")), after);
        if (!fails)
            QCOMPARE(OnTop, after.toInt());
    }

    void storedTextsComeBackNormalised_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("savedAs");
        QTest::addColumn<QString>("written");
        QTest::newRow("colour name in lower case") << "LedOnIn" << "clred" << "LEDOnIn" << "clRed";
        QTest::newRow("colour as decimal") << "LedOnIn" << "255" << "LEDOnIn" << "clRed";
        QTest::newRow("colour as hex") << "LedOnIn" << "$00000055" << "LEDOnIn" << "$00000055";
        QTest::newRow("saved spelling read by the load") << "LEDOffOut" << "clAqua" << "LEDOffOut" << "clAqua";
        QTest::newRow("PlayW in any case") << "PLAYW" << "true" << "PLayW" << "true";
        QTest::newRow("capitalised True") << "HighL" << "True" << "HighL" << "false";
        QTest::newRow("digit 1") << "HighL" << "1" << "HighL" << "false";
        QTest::newRow("italic underline") << "FStyle" << "iu" << "FStyle" << "";
        QTest::newRow("leading blank") << "Delay" << " 25" << "Delay" << "25";
        QTest::newRow("hex number") << "Delay" << "$10" << "Delay" << "16";
    }
    void storedTextsComeBackNormalised()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(QString, savedAs);
        QFETCH(QString, written);
        Sandbox box;
        box.WriteStore({{name.toStdString(), stored.toStdString()}});
        LoadSettings(1016);
        SaveSettings(0, 0);
        QCOMPARE(QString::fromStdString(box.Stored(savedAs.toStdString())), written);
        QCOMPARE(box.StoredValues().size(), size_t(31));
    }

    void rangesAreCorrectedAfterTheLoad_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("corrected");
        QTest::newRow("LEDSize low") << "LEDSize" << 2 << 4;
        QTest::newRow("LEDSize high") << "LEDSize" << 20 << 16;
        QTest::newRow("Spacing 0") << "Spacing" << 0 << 1;
        QTest::newRow("Spacing high") << "Spacing" << 99 << 20;
        QTest::newRow("BWidth low") << "BWidth" << 5 << 32;
        QTest::newRow("BWidth high") << "BWidth" << 5000 << 2048;
        QTest::newRow("Delay 0") << "Delay" << 0 << 1;
        QTest::newRow("Delay negative") << "Delay" << -5 << 1;
        QTest::newRow("Delay high") << "Delay" << 4000000 << 3600000;
        QTest::newRow("PTimer 0") << "PTimer" << 0 << 1;
        QTest::newRow("LShape unknown") << "LShape" << 3 << 0;
        QTest::newRow("LShape negative") << "LShape" << -1 << 0;
        QTest::newRow("Pattern unknown") << "Pattern" << 4 << 0;
        QTest::newRow("OnTop stays") << "OnTop" << 7 << 7;
        QTest::newRow("in range stays") << "LEDSize" << 9 << 9;
    }
    void rangesAreCorrectedAfterTheLoad()
    {
        QFETCH(QString, name);
        QFETCH(int, stored);
        QFETCH(int, corrected);
        Sandbox box;
        box.WriteStore({{name.toStdString(), std::to_string(stored)}});
        LoadSettings(1016);
        CorrectSettingRanges();
        SaveSettings(0, 0);
        QCOMPARE(box.Stored(name.toStdString()), std::to_string(corrected));
    }

    void failedWriteStopsSaveStuff()
    {
        Sandbox box;
        LoadSettings(1016);
        int written = 0;
        TRegistry::SetWriteObserver([&](const std::string &) {
            if (++written == 3)
                qputenv("XDG_CONFIG_HOME", "/proc/no-such-place");
        });
        try {
            SaveSettings(0, 0);
            QFAIL("no failure");
        } catch (const ERegistryException &e) {
            QCOMPARE(e.Message, QStringLiteral("Failed to set data for 'Delay'"));
        }
        TRegistry::SetWriteObserver({});
        QCOMPARE(written, 3);
    }
};

TARNIVA_TEST_MAIN(Settings)
#include "tst_settings.moc"
