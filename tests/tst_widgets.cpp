// The controls of the dialogs, driven like a user: number fields, check boxes, radio groups,
// edits, the colour and font choosers and the control fonts.
#include "TestSupport.h"

#include "platform/Dialogs.h"
#include "platform/SpinEdit.h"
#include "platform/StdCtrls.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <memory>

namespace {
// A number field in a shown window, with a second control to take the focus, and a record of
// the texts its change handler saw.
struct SpinFixture
{
    SpinFixture(int min, int max, int start, bool clampInHandler)
    {
        window.resize(200, 100);
        spin = new TSpinEdit(&window);
        spin->SetBounds(10, 10, 69, 22);
        spin->SetMinValue(min);
        spin->SetMaxValue(max);
        spin->SetValue(start);
        other = new TEdit(&window);
        other->SetBounds(10, 50, 100, 21);
        // The shape of the dialog's size handlers: read, clamp, write back.
        spin->OnChange = [=, this](QObject *) {
            ++depth;
            maxDepth = std::max(maxDepth, depth);
            seen << spin->Text();
            if (clampInHandler)
                spin->SetValue(std::clamp(spin->Value(), min, max));
            --depth;
        };
    }

    void Type(const QString &keys, bool replaceAll = true)
    {
        if (replaceAll)
            spin->selectAll();
        QTest::keyClicks(spin, keys);
    }

    QToolButton *Arrow(bool up) const
    {
        for (QToolButton *b : spin->findChildren<QToolButton *>())
            if (b->arrowType() == (up ? Qt::UpArrow : Qt::DownArrow))
                return b;
        return nullptr;
    }

    QWidget window;
    TSpinEdit *spin;
    TEdit *other;
    QStringList seen;
    int depth = 0, maxDepth = 0;
};

bool isNear(QColor pixel, QColor wanted)
{
    return std::abs(pixel.red() - wanted.red()) < 60 && std::abs(pixel.green() - wanted.green()) < 60 &&
           std::abs(pixel.blue() - wanted.blue()) < 60;
}

int countNear(const QImage &image, QRect area, QColor wanted)
{
    int count = 0;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += isNear(image.pixelColor(x, y), wanted);
    return count;
}
} // namespace

class Widgets : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        TColorDialog::SetChooserForTesting({});
        TFontDialog::SetChooserForTesting({});
    }

    // ---- number fields

    void spinTyping_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("clamp");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("seen");
        QTest::addColumn<int>("depth");
        QTest::newRow("1 into size shows 4 at once, nested") << 4 << 16 << 4 << true << "1" << "4" << QStringList{"1", "4"} << 2;
        QTest::newRow("25 into spacing ends at 20") << 1 << 20 << 1 << true << "25" << "20" << QStringList{"2", "25", "20"} << 2;
        QTest::newRow("12 into size ends at 16") << 4 << 16 << 4 << true << "12" << "16" << QStringList{"1", "4", "42", "16"} << 2;
        QTest::newRow("field itself corrects nothing while typing") << 1 << 3600000 << 1 << false << "0" << "0" << QStringList{"0"} << 1;
        QTest::newRow("letters, blanks and Enter dropped") << 1 << 3600000 << 7 << false << "a 9x\r" << "9" << QStringList{"9"} << 1;
        QTest::newRow("signs and separator accepted") << 1 << 3600000 << 7 << false << "-+." << "-+." << QStringList{"-", "-+", "-+."} << 1;
        QTest::newRow("same text raises nothing") << 1 << 20 << 5 << true << "5" << "5" << QStringList{} << 0;
    }
    void spinTyping()
    {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, start);
        QFETCH(bool, clamp);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(QStringList, seen);
        QFETCH(int, depth);
        SpinFixture f(min, max, start, clamp);
        f.Type(keys);
        QCOMPARE(f.spin->Text(), shown);
        QCOMPARE(f.seen, seen);
        QCOMPARE(f.maxDepth, depth);
    }

    void spinEnterIsDropped()
    {
        SpinFixture f(1, 20, 5, false);
        QSignalSpy returns(f.spin, &QLineEdit::returnPressed);
        QTest::keyClick(f.spin, Qt::Key_Return);
        QTest::keyClick(f.spin, Qt::Key_Enter);
        QCOMPARE(returns.count(), 0);
        QCOMPARE(f.spin->Text(), QStringLiteral("5"));
    }

    void spinValueOfText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("number") << "12" << 12;
        QTest::newRow("plus sign") << "+7" << 7;
        QTest::newRow("below the range is read as it is") << "-3" << -3;
        QTest::newRow("empty") << "" << 4;
        QTest::newRow("lone minus") << "-" << 4;
        QTest::newRow("lone plus") << "+" << 4;
        QTest::newRow("separator") << "." << 4;
        QTest::newRow("decimal") << "1.5" << 4;
        QTest::newRow("beyond an integer") << "99999999999" << 4;
    }
    void spinValueOfText()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        SpinFixture f(4, 16, 10, false);
        f.spin->SetText(text);
        QCOMPARE(f.spin->Value(), value);
    }

    void spinStepping_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("shown");
        QTest::newRow("up key") << "5" << "key up" << "6";
        QTest::newRow("down key") << "5" << "key down" << "4";
        QTest::newRow("up key at the top") << "16" << "key up" << "16";
        QTest::newRow("down key at the bottom") << "4" << "key down" << "4";
        QTest::newRow("up arrow") << "15" << "arrow up" << "16";
        QTest::newRow("up arrow at the top") << "16" << "arrow up" << "16";
        QTest::newRow("down arrow at the bottom") << "4" << "arrow down" << "4";
        QTest::newRow("up from empty steps from the minimum") << "" << "key up" << "5";
        QTest::newRow("down from above the range") << "40" << "arrow down" << "16";
    }
    void spinStepping()
    {
        QFETCH(QString, start);
        QFETCH(QString, how);
        QFETCH(QString, shown);
        SpinFixture f(4, 16, 4, false);
        f.window.show();
        f.spin->SetText(start);
        f.seen.clear();
        const bool up = how.endsWith(QLatin1String("up"));
        if (how.startsWith(QLatin1String("key")))
            QTest::keyClick(f.spin, up ? Qt::Key_Up : Qt::Key_Down);
        else
            QTest::mouseClick(f.Arrow(up), Qt::LeftButton);
        QCOMPARE(f.spin->Text(), shown);
        QCOMPARE(f.seen, start == shown ? QStringList{} : QStringList{shown});
    }

    void spinSetValueClamps_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("seen");
        QTest::newRow("above") << 20 << "16" << QStringList{"16"};
        QTest::newRow("below") << -2 << "4" << QStringList{"4"};
        QTest::newRow("inside") << 9 << "9" << QStringList{"9"};
        QTest::newRow("the shown value") << 10 << "10" << QStringList{};
        QTest::newRow("corrected to the shown value") << 2 << "4" << QStringList{"4"};
    }
    void spinSetValueClamps()
    {
        QFETCH(int, value);
        QFETCH(QString, shown);
        QFETCH(QStringList, seen);
        SpinFixture f(4, 16, 10, false);
        f.spin->SetValue(value);
        QCOMPARE(f.spin->Text(), shown);
        QCOMPARE(f.seen, seen);
    }

    void spinFocusLoss_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("below") << "0" << "1";
        QTest::newRow("negative") << "-5" << "1";
        QTest::newRow("above") << "3600001" << "3600000";
        QTest::newRow("inside") << "250" << "250";
        QTest::newRow("empty stays, read as the minimum") << "" << "";
    }
    void spinFocusLoss()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        SpinFixture f(1, 3600000, 1, false);
        f.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.spin->setFocus();
        f.spin->selectAll();
        if (typed.isEmpty())
            QTest::keyClick(f.spin, Qt::Key_Backspace);
        else
            QTest::keyClicks(f.spin, typed);
        f.seen.clear();
        f.other->setFocus();
        QCOMPARE(f.spin->Text(), shown);
        QCOMPARE(f.seen, typed == shown ? QStringList{} : QStringList{shown});
    }

    // ---- check box, radio group, edit: events at every change, from the user or the program

    void checkBoxClicks()
    {
        QWidget window;
        TCheckBox box(&window);
        box.SetBounds(0, 0, 73, 17);
        box.SetCaption(QStringLiteral("HighLights"));
        QList<bool> states;
        box.OnClick = [&](QObject *) { states << box.Checked(); };
        window.show();
        box.SetChecked(false);
        box.SetChecked(true);
        box.SetChecked(true);
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, 8));
        QTest::keyClick(&box, Qt::Key_Space);
        QCOMPARE(states, (QList<bool>{true, false, true}));
    }

    void radioGroupChoice()
    {
        QWidget window;
        TRadioGroup group(&window);
        group.SetBounds(0, 0, 69, 83);
        group.SetCaption(QStringLiteral("Alignment"));
        group.SetItems({"Top", "None", "Bottom"});
        QList<int> clicks;
        group.OnClick = [&](QObject *) { clicks << group.ItemIndex(); };
        window.show();
        const auto items = group.findChildren<QRadioButton *>();
        QCOMPARE(items.size(), 3);
        const auto checkedItems = [&] {
            QList<int> checked;
            for (int i = 0; i < items.size(); ++i)
                if (items[i]->isChecked())
                    checked << i;
            return checked;
        };

        QCOMPARE(group.ItemIndex(), -1);
        QCOMPARE(checkedItems(), QList<int>{});
        group.SetItemIndex(-1);
        group.SetItemIndex(2);
        group.SetItemIndex(2);
        QCOMPARE(checkedItems(), QList<int>{2});
        QTest::mouseClick(items[0], Qt::LeftButton, {}, QPoint(6, items[0]->height() / 2));
        QCOMPARE(checkedItems(), QList<int>{0});
        // Clicking the chosen item again changes nothing.
        QTest::mouseClick(items[0], Qt::LeftButton, {}, QPoint(6, items[0]->height() / 2));
        group.SetItemIndex(7);
        group.SetItemIndex(-1);
        QCOMPARE(checkedItems(), QList<int>{});
        QCOMPARE(clicks, (QList<int>{2, 0, 2, -1}));
    }

    void radioItemsSpreadOverTheGroup()
    {
        QWidget window;
        TRadioGroup group(&window);
        group.SetBounds(10, 8, 87, 83);
        group.SetItems({"Side to side", "Center out", "Sides in", "Random"});
        window.show();
        const auto items = group.findChildren<QRadioButton *>();
        QCOMPARE(items.size(), 4);
        for (int i = 1; i < items.size(); ++i)
            QCOMPARE(items[i]->y() - items[i - 1]->y(), items[1]->y() - items[0]->y());
        QVERIFY(items.front()->y() >= QFontMetrics(group.font()).height());
        QVERIFY(items.back()->geometry().bottom() < group.height());
    }

    void editChanges()
    {
        QWidget window;
        TEdit edit(&window);
        QStringList seen;
        edit.OnChange = [&](QObject *) { seen << edit.Text(); };
        edit.SetText(QStringLiteral("/snd/a.wav"));
        edit.SetText(QStringLiteral("/snd/a.wav"));
        edit.selectAll();
        QTest::keyClicks(&edit, QStringLiteral("ab"));
        edit.SetText(QString());
        QCOMPARE(seen, (QStringList{"/snd/a.wav", "a", "ab", ""}));
    }

    // ---- choosers

    void colorChooser()
    {
        TColorDialog dialog;
        QCOMPARE(dialog.Color(), clBlack);
        QList<QColor> offered;
        std::optional<QColor> answer;
        TColorDialog::SetChooserForTesting([&](const QColor &initial) {
            offered << initial;
            return answer;
        });

        answer = QColor(10, 20, 30);
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Color(), TColor(0x001E140A));
        answer.reset();
        QVERIFY(!dialog.Execute());
        QCOMPARE(dialog.Color(), TColor(0x001E140A));
        // A value with a top byte opens on its colour and comes back plain.
        dialog.SetColor(TColor(0x11111122));
        answer = QColor(0x22, 0x11, 0x11);
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Color(), TColor(0x00111122));
        QCOMPARE(offered, (QList<QColor>{Qt::black, QColor(10, 20, 30), QColor(0x22, 0x11, 0x11)}));
    }

    void fontChooser()
    {
        TFontDialog dialog;
        QCOMPARE(dialog.Font().Name(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(dialog.Font().Height(), 11);
        QCOMPARE(dialog.Font().Size(), 8);
        QCOMPARE(dialog.Font().Style(), TFontStyles(0));

        QFont offered;
        std::optional<QFont> answer;
        TFontDialog::SetChooserForTesting([&](const QFont &initial) {
            offered = initial;
            return answer;
        });
        dialog.Font().SetSize(10);
        dialog.Font().SetStyle(fsBold | fsStrikeOut);
        QVERIFY(!dialog.Execute());
        QCOMPARE(offered.family(), TFont::ScreenFace(QStringLiteral("MS Sans Serif")));
        QCOMPARE(offered.pointSize(), 10);
        QVERIFY(offered.bold() && offered.strikeOut() && !offered.italic() && !offered.underline());
        // Cancelled: all as it was, the name still the one that was set.
        QCOMPARE(dialog.Font().Name(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(dialog.Font().Size(), 10);
        QCOMPARE(dialog.Font().Style(), TFontStyles(fsBold | fsStrikeOut));

        const QString face = QFontDatabase::families().value(0);
        QFont chosen(face, 12);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        answer = chosen;
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Font().Name(), face);
        QCOMPARE(dialog.Font().Size(), 12);
        QCOMPARE(dialog.Font().Style(), TFontStyles(fsItalic | fsUnderline));
    }

    // ---- fonts

    void pointsAndPixels_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("pixels");
        QTest::newRow("8") << 8 << 11;
        QTest::newRow("9") << 9 << 12;
        QTest::newRow("10") << 10 << 13;
        QTest::newRow("11") << 11 << 15;
        QTest::newRow("12") << 12 << 16;
    }
    void pointsAndPixels()
    {
        QFETCH(int, points);
        QFETCH(int, pixels);
        QWidget window;
        TLabel label(&window);
        label.Font().SetSize(points);
        QCOMPARE(label.Font().Height(), pixels);
        QCOMPARE(QFontInfo(label.font()).pixelSize(), pixels);
        label.Font().SetHeight(pixels);
        QCOMPARE(label.Font().Size(), points);
    }

    void missingFaceIsSubstituted()
    {
        if (QFontDatabase::families().contains(QStringLiteral("MS Sans Serif")))
            QSKIP("this system has the design face itself");
        QWidget window;
        TButton button(&window);
        button.Font().SetName(QStringLiteral("MS Sans Serif"));
        button.Font().SetHeight(12);
        const QFontInfo drawn(button.font());
        QCOMPARE(button.Font().Name(), QStringLiteral("MS Sans Serif"));
        // A face with Arial's widths where the system has one, else the system's sans-serif.
        const QString expected = QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))
                                     ? QStringLiteral("Liberation Sans")
                                     : QFontInfo(QFont(QStringLiteral("sans-serif"))).family();
        QCOMPARE(drawn.family(), expected);
        QVERIFY(!drawn.fixedPitch());
        QCOMPARE(drawn.pixelSize(), 12);

        button.Font().SetStyle(fsItalic);
        button.Font().SetName(QString());
        QCOMPARE(button.Font().Name(), QStringLiteral("MS Sans Serif"));
        QVERIFY(QFontInfo(button.font()).italic());
        QVERIFY(!QFontInfo(button.font()).bold());
        QCOMPARE(QFontInfo(button.font()).pixelSize(), 12);
    }

    void fontColourBelongsToOneControl()
    {
        QWidget window;
        TPanel panel(&window);
        TLabel red(&panel), plain(&panel);
        const QColor plainBefore = plain.palette().color(QPalette::WindowText);
        red.Font().SetColor(clRed);
        panel.Font().SetColor(clYellow);
        QCOMPARE(red.palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(plain.palette().color(QPalette::WindowText), plainBefore);
        // The font may change; the colour stays.
        red.Font().SetName(QStringLiteral("MS Sans Serif"));
        red.Font().SetSize(10);
        red.Font().SetStyle(fsBold);
        QCOMPARE(red.Font().Color(), clRed);
        QCOMPARE(red.palette().color(QPalette::WindowText), QColor(Qt::red));
    }

    // Captions on the black dialog are drawn in their own colours.
    void captionsOnBlack_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("color");
        QTest::newRow("radio group caption") << "radio caption" << int(clYellow);
        QTest::newRow("radio group items") << "radio items" << int(clYellow);
        QTest::newRow("group box caption") << "group" << int(clAqua);
        QTest::newRow("check box") << "check" << int(clLime);
        QTest::newRow("label") << "label" << int(clRed);
    }
    void captionsOnBlack()
    {
        QFETCH(QString, kind);
        QFETCH(int, color);
        TForm window(bsNone);
        window.resize(284, 300);
        TPanel panel(&window);
        panel.SetAlign(alClient);
        panel.SetColor(clBlack);
        panel.SetBevelWidth(4);
        std::unique_ptr<QWidget> control;
        QRect area;
        if (kind.startsWith(QLatin1String("radio"))) {
            auto *group = new TRadioGroup(&panel);
            group->SetBounds(10, 8, 87, 83);
            group->SetCaption(QStringLiteral(" Pattern "));
            group->SetItems({"Side to side", "Center out", "Sides in", "Random"});
            group->Font().SetColor(color);
            control.reset(group);
        } else if (kind == QLatin1String("group")) {
            auto *group = new TGroupBox(&panel);
            group->SetBounds(8, 96, 217, 65);
            group->SetCaption(QStringLiteral("Color Settings"));
            group->Font().SetColor(color);
            control.reset(group);
        } else if (kind == QLatin1String("check")) {
            auto *box = new TCheckBox(&panel);
            box->SetBounds(8, 220, 73, 17);
            box->SetCaption(QStringLiteral("Play sound"));
            box->Font().SetColor(color);
            control.reset(box);
        } else {
            auto *label = new TLabel(&panel);
            label->SetBounds(84, 171, 40, 13);
            label->SetCaption(QStringLiteral("Spacing"));
            label->Font().SetColor(color);
            control.reset(label);
        }
        window.show();
        QCOMPARE(panel.geometry(), window.rect());
        area = control->geometry();
        const int captionHeight = QFontMetrics(control->font()).height();
        if (kind == QLatin1String("radio caption") || kind == QLatin1String("group"))
            area.setHeight(captionHeight);
        else if (kind == QLatin1String("radio items"))
            area = control->findChildren<QRadioButton *>().value(1)->geometry().translated(control->pos());
        const QImage shot = window.grab().toImage();
        QVERIFY2(countNear(shot, area, ColorToQColor(color)) >= 5, qPrintable(kind));
        QVERIFY(isNear(shot.pixelColor(window.width() / 2, window.height() - 20), Qt::black));
    }

    void memoAndOkButton()
    {
        QWidget window;
        TMemo memo(&window);
        memo.SetBounds(8, 8, 201, 81);
        memo.SetReadOnly(true);
        memo.SetAlignment(taCenter);
        memo.SetColor(8388672);
        memo.Font().SetColor(clLime);
        memo.SetLines({"Tarniva ", "second", "", "fourth", "fifth"});
        QCOMPARE(memo.Lines(), (QStringList{"Tarniva ", "second", "", "fourth", "fifth"}));
        QCOMPARE(memo.document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::Alignment(Qt::AlignHCenter));
        QCOMPARE(memo.palette().color(QPalette::Base), QColor(64, 0, 128));
        QCOMPARE(memo.palette().color(QPalette::Text), QColor(Qt::green));
        QTest::keyClicks(&memo, QStringLiteral("x"));
        QCOMPARE(memo.Lines().front(), QStringLiteral("Tarniva "));

        TBitBtn ok(&window, bkOK);
        QCOMPARE(ok.Caption(), QStringLiteral("OK"));
        int clicks = 0;
        ok.OnClick = [&](QObject *) { ++clicks; };
        window.show();
        QTest::mouseClick(&ok, Qt::LeftButton);
        QCOMPARE(clicks, 1);
    }
};

TARNIVA_TEST_MAIN(Widgets)
#include "tst_widgets.moc"
