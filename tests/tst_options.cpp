// The Options dialog: its layout, its creation from the settings, each control's effect on the
// strip, placement and dragging, and the colours.
#include "OptionsFixture.h"

#include "platform/Menus.h"

#include <QMenu>
#include <QMessageBox>

using Stored = std::vector<std::pair<std::string, std::string>>;

namespace {

void typeInto(TSpinEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Backspace);
    else
        QTest::keyClicks(field, text); // replaces the selected text
}

} // namespace

class Options : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { TColorDialog::SetChooserForTesting({}); }

    void window()
    {
        Program program;
        QCOMPARE(Form2->Caption(), QStringLiteral("Tarniva Options"));
        QVERIFY(!Form2->Visible());
        program.ShowOptions();
        QCOMPARE(Form2->geometry().size(), QSize(284, 300));
        QCOMPARE(Form2->pos(), QPoint(236, 81));
        QCOMPARE(Form2->Color(), clBlack);
        QVERIFY(Form2->windowFlags() & Qt::Tool);
        QCOMPARE(Form2->parentWidget(), Form1);
        QCOMPARE(Form2->Panel1->geometry(), QRect(0, 0, 284, 300));
    }

    // Positions, captions and caption colours as designed.
    void layout()
    {
        Program program;
        TForm2 *f = Form2;
        const struct
        {
            QWidget *control;
            QRect bounds;
            QString caption;
            TColor colour;
        } rows[] = {
            {f->RadioGroup2, {10, 8, 87, 83}, " Pattern ", clYellow},
            {f->RadioGroup3, {104, 8, 65, 83}, "Shape", clFuchsia},
            {f->RadioGroup1, {172, 8, 69, 83}, "Alignment", clAqua},
            {f->Button1, {244, 14, 33, 15}, "Up", clNone},
            {f->Button2, {244, 35, 31, 15}, "Low", clNone},
            {f->Button3, {244, 75, 33, 15}, "Font", clNone},
            {f->GroupBox1, {8, 96, 217, 65}, "Color Settings", clAqua},
            {f->Image2, {228, 110, 34, 42}, "", clNone},
            {f->SpinEdit7, {32, 168, 41, 22}, "", clNone},
            {f->SpinEdit9, {128, 168, 41, 22}, "", clNone},
            {f->SpinEdit10, {220, 168, 53, 22}, "", clNone},
            {f->SpinEdit20, {46, 194, 69, 22}, "", clNone},
            {f->CheckBox1, {200, 193, 73, 17}, "HighLights", clRed},
            {f->CheckBox2, {8, 220, 73, 17}, "Play sound", clLime},
            {f->CheckBox5, {88, 220, 49, 17}, "Sync", clLime},
            {f->SpinEdit8, {140, 217, 69, 22}, "", clNone},
            {f->Button5, {230, 217, 42, 22}, "Browse", clNone},
            {f->Button4, {8, 244, 17, 21}, ">", clNone},
            {f->Edit27, {26, 244, 247, 21}, "", clNone},
            {f->CheckBox6, {8, 276, 73, 13}, "Moveable", clAqua},
            {f->CheckBox7, {96, 276, 73, 13}, "Full Screen", clAqua},
            {f->CheckBox4, {184, 274, 89, 17}, "Hide Taskbar", clAqua},
            {f->Button12, {8, 13, 33, 15}, "On", clNone},
            {f->Button11, {48, 13, 33, 15}, "Off", clNone},
            {f->Button13, {88, 13, 57, 15}, "Highlight", clNone},
            {f->Button14, {152, 13, 57, 15}, "BackGnd", clNone},
            {f->Button6, {8, 30, 33, 15}, "OOn", clNone},
            {f->Button7, {48, 30, 33, 15}, "OOff", clNone},
            {f->Button8, {88, 30, 57, 15}, "OHighlight", clNone},
            {f->Button15, {152, 30, 57, 15}, "Border", clNone},
            {f->Button9, {48, 47, 122, 15}, "Reset to default colors", clNone},
        };
        for (const auto &row : rows) {
            QCOMPARE(row.control->geometry(), row.bounds);
            QString caption;
            if (auto *b = qobject_cast<QAbstractButton *>(row.control))
                caption = b->text();
            else if (auto *g = qobject_cast<QGroupBox *>(row.control))
                caption = g->title();
            QCOMPARE(caption, row.caption);
            if (row.colour != clNone)
                QCOMPARE(row.control->palette().color(QPalette::WindowText), ColorToQColor(row.colour));
        }
        // Labels size themselves to their text; their corners are as designed.
        QCOMPARE(f->Label1->pos(), QPoint(8, 171));
        QCOMPARE(f->Label1->Caption(), QStringLiteral("Size"));
        QCOMPARE(f->Label3->pos(), QPoint(140, 202));
        QCOMPARE(f->Label3->palette().color(QPalette::WindowText), ColorToQColor(clLime));
        QCOMPARE(f->RadioGroup2->Items(), (QStringList{"Side to side", "Center out", "Sides in", "Random"}));
        QCOMPARE(f->RadioGroup3->Items(), (QStringList{"Round", "Square", "Rect"}));
        QCOMPARE(f->RadioGroup1->Items(), (QStringList{"Top", "None", "Bottom"}));
        QVERIFY(f->Button3->Font().Style() & fsItalic);
        QCOMPARE(f->Button4->Font().Height(), 15);
        QVERIFY(f->Button4->Font().Style() & fsBold);
    }

    // Creation sets every control from the settings; each control that changes runs its handler.
    void creationFromStoredSettings()
    {
        Program program({{"Pattern", "2"}, {"Sync", "true"}, {"FScreen", "true"}, {"FLeft", "50"}, {"LEDSize", "20"},
                         {"PTimer", "5000"}, {"HideF", "true"}, {"WarnFile", "/tmp/x.wav"}});
        QCOMPARE(Form2->RadioGroup2->ItemIndex(), 2);
        QCOMPARE(Centre, 32);
        QCOMPARE(Pos2, 64);
        QVERIFY(PlayW);
        QVERIFY(Form2->CheckBox2->Checked());
        QCOMPARE(Form1->Left(), 0);
        QCOMPARE(Form2->SpinEdit7->Value(), 16);
        QCOMPARE(LEDSize, 16);
        QCOMPARE(Form2->Timer1->Interval(), 5000);
        QCOMPARE(Form2->Edit27->Text(), QStringLiteral("/tmp/x.wav"));
        QCOMPARE(WarnFile, std::string("/tmp/x.wav"));
        // Stacking applied by the strip, then again by the dialog; the taskbar button likewise.
        QCOMPARE(program.box.WindowRequests, (QStringList{"taskbar hidden", "notopmost", "notopmost", "taskbar hidden"}));
        QCOMPARE(program.Saves, 0);
    }

    void creationWithDefaults()
    {
        Centre = -7; // the pattern's reset would set it
        Program program({{"Pattern", "0"}, {"PTimer", "1"}, {"FScreen", "false"}, {"FLeft", "50"}, {"BWidth", "300"}});
        QCOMPARE(Pos1, 1);
        QCOMPARE(Centre, -7);
        QCOMPARE(Form2->Timer1->Interval(), 2000);
        QVERIFY(!PlayW);
        QCOMPARE(Form1->geometry(), QRect(50, 0, 300, 19));
        QCOMPARE(Form2->RadioGroup3->ItemIndex(), 0);
        QCOMPARE(Form2->RadioGroup1->ItemIndex(), 1);
    }

    void sizeFieldClampsAsYouType()
    {
        Program program;
        program.ShowOptions();
        typeInto(Form2->SpinEdit7, "1");
        QCOMPARE(Form2->SpinEdit7->Text(), QStringLiteral("4"));
        QCOMPARE(LEDSize, 4);
        QCOMPARE(Form1->Height(), 7);
        typeInto(Form2->SpinEdit9, "25");
        QCOMPARE(Form2->SpinEdit9->Text(), QStringLiteral("20"));
        QCOMPARE(Spacing, 20);
        typeInto(Form2->SpinEdit10, "");
        QCOMPARE(Form2->SpinEdit10->Text(), QStringLiteral("32"));
        QCOMPARE(BWidth, 32);
    }

    void delayIsStoredAsTyped()
    {
        Program program;
        program.ShowOptions();
        const int height = Form1->Height();
        typeInto(Form2->SpinEdit20, "-5");
        QCOMPARE(Delay, -5);
        Form1->Timer1Timer(nullptr);
        QCOMPARE(Form1->Timer1->Interval(), 1);
        typeInto(Form2->SpinEdit20, "250");
        QCOMPARE(Delay, 250);
        QCOMPARE(Form1->Height(), height);
    }

    // A negative sound interval typed: the range error, the timer keeps its interval, and the
    // field keeps the keyboard.
    void negativeSoundIntervalWhileTyping()
    {
        Program program;
        program.ShowOptions();
        Form2->activateWindow();
        typeInto(Form2->SpinEdit8, "300");
        QCOMPARE(Form2->Timer1->Interval(), 300);
        Application->SetErrorBox({}); // the real box
        typeInto(Form2->SpinEdit8, "-");
        QTest::keyClicks(Form2->SpinEdit8, "5");
        QCOMPARE(PTimer, -5);
        QCOMPARE(Form2->SpinEdit8->Text(), QStringLiteral("-5"));
        QCOMPARE(Form2->Timer1->Interval(), 1); // "-" alone reads as the minimum
        QCOMPARE(QApplication::focusWidget(), Form2->SpinEdit8);
        QMessageBox *box = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *b = qobject_cast<QMessageBox *>(w); b && b->isVisible())
                box = b;
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("Range check error."));
        QCOMPARE(box->windowTitle(), QStringLiteral("Tarniva"));
        box->close();
        QTest::keyClick(Form2->SpinEdit8, Qt::Key_Backspace);
        QTest::keyClick(Form2->SpinEdit8, Qt::Key_Backspace);
        QTest::keyClicks(Form2->SpinEdit8, "7");
        QCOMPARE(Form2->Timer1->Interval(), 7);
    }

    // Layout changes redraw the strip only while the dialog is shown.
    void relayoutOnlyWhileShown_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::newRow("hidden") << false;
        QTest::newRow("shown") << true;
    }
    void relayoutOnlyWhileShown()
    {
        QFETCH(bool, shown);
        Program program;
        if (shown)
            program.ShowOptions();
        Form1->SwitchLights(3);
        Form2->SpinEdit7->SetValue(8);
        QCOMPARE(LEDSize, 8);
        QCOMPARE(Form1->Height(), shown ? 11 : 19);
        QCOMPARE(LightOn[3], !shown);
        if (!LightOn[3])
            Form1->SwitchLights(3);
        Form2->CheckBox1->SetChecked(false);
        QVERIFY(!HighL);
        Form2->RadioGroup3->SetItemIndex(1);
        QCOMPARE(LShape, 1);
        QCOMPARE(LightOn[3], !shown);
    }

    void closingSavesTwiceAndKeepsTheDialog()
    {
        Program program;
        program.ShowOptions();
        Form2->move(300, 200);
        Form2->SpinEdit9->SetValue(3);
        Form2->close();
        QVERIFY(!Form2->Visible());
        QCOMPARE(program.Saves, 2);
        QCOMPARE(program.box.Stored("Spacing"), std::string("3"));
        program.ShowOptions();
        QCOMPARE(Form2->pos(), QPoint(300, 200));
        QCOMPARE(Form2->SpinEdit9->Value(), 3);
        // "Options" while shown changes nothing.
        Form2->move(310, 210);
        Form1->Options1->OnClick(nullptr);
        QCOMPARE(Form2->pos(), QPoint(310, 210));
        QVERIFY(Form2->Visible());
    }

    void exitWithTheDialogOpenSavesTwice()
    {
        Program program;
        program.ShowOptions();
        Form1->Exit1->OnClick(nullptr);
        QVERIFY(Application->Terminated());
        Application->DestroyForms();
        QCOMPARE(program.Saves, 2);
    }

    void stackingChoices_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QStringList>("requests");
        QTest::newRow("Top") << 0 << QStringList{"topmost"};
        QTest::newRow("Bottom") << 2 << QStringList{"notopmost", "bottom"};
    }
    void stackingChoices()
    {
        QFETCH(int, choice);
        QFETCH(QStringList, requests);
        Program program;
        program.box.WindowRequests.clear();
        Form2->RadioGroup1->SetItemIndex(choice);
        QCOMPARE(OnTop, choice);
        QCOMPARE(program.box.WindowRequests, requests);
        Form2->RadioGroup1->SetItemIndex(choice);
        QCOMPARE(program.box.WindowRequests, requests);
    }

    void taskbarButton()
    {
        Program program;
        program.box.WindowRequests.clear();
        Form2->CheckBox4->SetChecked(true);
        QVERIFY(HideF);
        Form2->CheckBox4->SetChecked(false);
        QVERIFY(!HideF);
        QCOMPARE(program.box.WindowRequests, (QStringList{"taskbar hidden", "taskbar shown"}));
    }

    void docking()
    {
        Program program;
        Form1->SetLeft(30);
        Form1->SetTop(100);
        Form2->Button2->OnClick(nullptr);
        QCOMPARE(Form1->geometry(), QRect(0, 580 - 8 - 19, 1016, 19));
        QCOMPARE(AlignInt, 1);
        Form2->Button1->OnClick(nullptr);
        QCOMPARE(Form1->geometry(), QRect(0, 0, 1016, 19));
        QCOMPARE(AlignInt, 0);
    }

    void fullScreen()
    {
        Program program({{"FScreen", "false"}, {"BWidth", "300"}, {"FLeft", "40"}});
        program.ShowOptions();
        Form2->CheckBox7->SetChecked(true);
        QCOMPARE(Form1->geometry(), QRect(0, 0, 1016, 19));
        Form1->SetLeft(25);
        Form2->CheckBox7->SetChecked(false);
        QCOMPARE(Form1->geometry(), QRect(25, 0, 300, 19));
    }

    void dragging_data()
    {
        QTest::addColumn<bool>("moveable");
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("moveable, left button") << true << int(Qt::LeftButton) << QPoint(20, 40);
        QTest::newRow("not moveable") << false << int(Qt::LeftButton) << QPoint(0, 0);
        QTest::newRow("right button") << true << int(Qt::RightButton) << QPoint(0, 0);
        QTest::newRow("middle button") << true << int(Qt::MiddleButton) << QPoint(0, 0);
    }
    void dragging()
    {
        QFETCH(bool, moveable);
        QFETCH(int, button);
        QFETCH(QPoint, moved);
        Program program;
        Form2->CheckBox6->SetChecked(moveable);
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
        Form1->PopupMenu1.Menu()->setVisible(false);
        const QPoint start = Form1->pos();
        QTest::mousePress(Form1->Image1, Qt::MouseButton(button), {}, QPoint(5, 5));
        QTest::mouseMove(Form1->Image1, QPoint(25, 45));
        QCOMPARE(Form1->pos() - start, moved);
        QTest::mouseRelease(Form1->Image1, Qt::MouseButton(button), {}, QPoint(25, 45));
        Form1->PopupMenu1.Menu()->hide();
    }

    // Ticking "Moveable" while the button is held drags from where the pointer then is.
    void moveableTickedMidDrag()
    {
        Program program;
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
        QTest::mousePress(Form1->Image1, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(Form1->Image1, QPoint(50, 5));
        QCOMPARE(Form1->Left(), 0);
        Form2->CheckBox6->SetChecked(true);
        QTest::mouseMove(Form1->Image1, QPoint(60, 8));
        QCOMPARE(Form1->pos(), QPoint(10, 3));
        QTest::mouseRelease(Form1->Image1, Qt::LeftButton, {}, QPoint(60, 8));
        QTest::mouseMove(Form1->Image1, QPoint(90, 8));
        QCOMPARE(Form1->pos(), QPoint(10, 3));
    }

    void draggedBelowTheBottomComesBack()
    {
        Program program;
        Moveable = true;
        Form1->SetTop(700);
        Form1->Timer1Timer(nullptr);
        QCOMPARE(Form1->Top(), 553);
    }

    // The chooser's held colour goes into the setting, confirmed or not.
    void colourButtons()
    {
        Program program;
        program.ShowOptions();
        std::optional<QColor> answer;
        TColorDialog::SetChooserForTesting([&](const QColor &) { return answer; });
        Form2->Button11->click(); // the first, cancelled: black
        QCOMPARE(LEDOffIn, clBlack);
        answer = QColor(10, 20, 30);
        Form2->Button12->click();
        QCOMPARE(LEDOnIn, TColor(0x1E140A));
        answer.reset();
        Form2->Button6->click(); // cancelled after "On": that colour
        QCOMPARE(LEDOnOut, TColor(0x1E140A));
        // The light buttons redraw nothing; "BackGnd" and "Border" redraw the strip at once.
        Form1->SwitchLights(2);
        for (TButton *light : {Form2->Button11, Form2->Button12, Form2->Button13, Form2->Button6, Form2->Button7, Form2->Button8}) {
            light->click();
            QVERIFY(LightOn[2]);
        }
        QCOMPARE(LEDOffOut, TColor(0x1E140A));
        answer = QColor(0, 0, 255);
        Form2->Button14->click();
        QCOMPARE(BackC, clBlue);
        QVERIFY(!LightOn[2]);
        QCOMPARE(Form1->Image1->Bitmap.pixelColor(0, 0), QColor(0, 0, 255));
        Form1->SwitchLights(2);
        answer = QColor(0, 255, 0);
        Form2->Button15->click();
        QCOMPARE(FormC, clLime);
        QCOMPARE(Form1->Color(), clLime);
        QVERIFY(!LightOn[2]);
    }

    void resetColours()
    {
        Program program({{"LedOnIn", "clLime"}, {"BackC", "clNavy"}});
        program.ShowOptions();
        Form2->ColorDialog1.SetColor(clYellow);
        Form2->Button9->click();
        QCOMPARE(LEDOnIn, clRed);
        QCOMPARE(LEDOnOut, clMaroon);
        QCOMPARE(LEDOffIn, 0x55);
        QCOMPARE(LEDOffOut, 0x11111122);
        QCOMPARE(HighLightOn, clWhite);
        QCOMPARE(HighLightOff, clSilver);
        QCOMPARE(BackC, clBlack);
        QCOMPARE(FormC, clGray);
        QCOMPARE(Form2->ColorDialog1.Color(), clYellow);
        QCOMPARE(Form1->Image1->Bitmap.pixelColor(0, 0), QColor(Qt::black));
        Form2->close();
        QCOMPARE(program.box.Stored("LEDOffOut"), std::string("$11111122"));
    }
};

TARNIVA_TEST_MAIN(Options)
#include "tst_options.moc"
