// Start-up, the main window's placement at start, and the ways the program ends.
#include "TestSupport.h"

#include <QMenu>

#include "strip/Animation.h"
#include "strip/Layout.h"
#include "strip/Lights1.h"
#include "strip/Settings.h"

class Lifecycle : public QObject
{
    Q_OBJECT
private:
    int saves = 0;

    void countSaves()
    {
        saves = 0;
        // "OnTop" is the first value SaveStuff writes.
        TRegistry::SetWriteObserver([this](const std::string &name) { saves += name == "OnTop"; });
    }

private slots:
    void cleanup() { TRegistry::SetWriteObserver({}); }

    void firstStart()
    {
        Sandbox box(QRect(0, 0, 1016, 700));
        countSaves();
        Application->CreateForm(Form1);
        QCOMPARE(Form1->Caption(), QStringLiteral("Year 2000"));
        QCOMPARE(Form1->geometry(), QRect(0, 0, 1016, 19));
        QCOMPARE(Form1->Image1->geometry(), QRect(1, 1, 1014, 17));
        QVERIFY(Form1->isVisible());
        QVERIFY(Form1->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(box.WindowRequests, QStringList{"notopmost"});
        QCOMPARE(Form1->Timer1->Interval(), 1);
        QVERIFY(Form1->Timer1->Enabled());
        QCOMPARE(Pos1, 1);
        QVERIFY(Forward);
        QCOMPARE(BlankFrame, std::string(1024, '0'));
        QCOMPARE(PrevFrame, BlankFrame);
        QCOMPARE(Form1->Image1->Bitmap.pixelColor(8, 8), ColorToQColor(LEDOffIn));
        QVERIFY(box.Errors.isEmpty());
        // The key exists, empty: start-up writes nothing.
        QCOMPARE(saves, 0);
        QVERIFY(box.StoredValues().empty());
        QVERIFY(box.ReadRaw().contains("[HKEY_CURRENT_USER\\Software\\Orsolen\\Lights]"));
    }

    void startPlacement_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QStringList>("requests");
        QTest::newRow("BWidth without full screen") << QStringList{"FScreen", "false", "BWidth", "300"} << QRect(0, 0, 300, 19) << QStringList{"notopmost"};
        QTest::newRow("BWidth past the full width") << QStringList{"FScreen", "false", "BWidth", "2000"} << QRect(0, 0, 1016, 19) << QStringList{"notopmost"};
        QTest::newRow("position") << QStringList{"FLeft", "-5", "FTop", "40", "FScreen", "false", "BWidth", "300"} << QRect(-5, 40, 300, 19) << QStringList{"notopmost"};
        QTest::newRow("size") << QStringList{"LEDSize", "8"} << QRect(0, 0, 1016, 11) << QStringList{"notopmost"};
        QTest::newRow("top") << QStringList{"OnTop", "0"} << QRect(0, 0, 1016, 19) << QStringList{"topmost"};
        QTest::newRow("bottom") << QStringList{"OnTop", "2"} << QRect(0, 0, 1016, 19) << QStringList{"notopmost", "bottom"};
        QTest::newRow("unknown stacking") << QStringList{"OnTop", "7"} << QRect(0, 0, 1016, 19) << QStringList{};
        QTest::newRow("hidden taskbar button") << QStringList{"HideF", "true"} << QRect(0, 0, 1016, 19) << QStringList{"taskbar hidden", "notopmost"};
    }
    void startPlacement()
    {
        QFETCH(QStringList, stored);
        QFETCH(QRect, geometry);
        QFETCH(QStringList, requests);
        Sandbox box(QRect(0, 0, 1016, 700));
        std::vector<std::pair<std::string, std::string>> values;
        for (int i = 0; i + 1 < stored.size(); i += 2)
            values.push_back({stored[i].toStdString(), stored[i + 1].toStdString()});
        box.WriteStore(values);
        Application->CreateForm(Form1);
        QCOMPARE(Form1->geometry(), geometry);
        QCOMPARE(box.WindowRequests, requests);
    }

    // A stored number that is not one: the error box, then a usable strip on defaults.
    void badValueAtStart()
    {
        Sandbox box(QRect(0, 0, 1016, 700));
        box.WriteStore({{"LEDSize", "8"}, {"Delay", "abc"}, {"FTop", "30"}, {"FormC", "clLime"}});
        Application->CreateForm(Form1);
        QCOMPARE(box.Errors, QStringList{"'abc' is not a valid integer value."});
        QCOMPARE(box.Captions, QStringList{"Tarniva"});
        QCOMPARE(Form1->geometry(), QRect(0, 30, 1016, 19));
        QCOMPARE(Form1->Color(), clGray);
        QCOMPARE(Form1->Timer1->Interval(), 1);
        QCOMPARE(PrevFrame, BlankFrame);
        QVERIFY(Form1->isVisible());
    }

    void zeroDelayStillTicks()
    {
        Sandbox box;
        box.WriteStore({{"Delay", "0"}});
        Application->CreateForm(Form1);
        QCOMPARE(Form1->Timer1->Interval(), 1);
        QVERIFY(box.Errors.isEmpty());
    }

    void exitSavesTwiceWithoutCloseQuery()
    {
        Sandbox box;
        Application->CreateForm(Form1);
        countSaves();
        Form1->SetLeft(17);
        Form1->Exit1->OnClick(nullptr);
        QVERIFY(Application->Terminated());
        QCOMPARE(saves, 0);
        Application->DestroyForms();
        QCOMPARE(saves, 1);
        QCOMPARE(Form1, nullptr);
        QCOMPARE(box.Stored("FLeft"), std::string("17"));
    }

    void closingTheMainWindow()
    {
        Sandbox box;
        Application->CreateForm(Form1);
        countSaves();
        QVERIFY(!Form1->close());
        QCOMPARE(saves, 1);
        QVERIFY(Application->Terminated());
        Application->DestroyForms();
        QCOMPARE(saves, 2);
        QCOMPARE(box.StoredValues().size(), size_t(31));
    }

    void failedSaveKeepsTheWindowOpen()
    {
        Sandbox box;
        Application->CreateForm(Form1);
        qputenv("XDG_CONFIG_HOME", "/proc/no-such-place");
        const bool wasTerminated = Application->Terminated();
        Form1->close();
        QCOMPARE(Application->Terminated(), wasTerminated);
        QVERIFY(Form1->isVisible());
        QCOMPARE(box.Errors, QStringList{"Failed to set data for 'OnTop'."});
    }

    void menu()
    {
        Sandbox box;
        Application->CreateForm(Form1);
        QStringList captions;
        for (QAction *a : Form1->PopupMenu1.Menu()->actions())
            captions << a->text();
        QCOMPARE(captions, (QStringList{"Exit", "Options"}));
    }
};

TARNIVA_TEST_MAIN(Lifecycle)
#include "tst_lifecycle.moc"
