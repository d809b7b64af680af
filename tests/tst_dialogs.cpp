// The WAV file dialog, the About box and the dialog font over the three dialogs.
#include "OptionsFixture.h"

#include "platform/Dialogs.h"

#include <QDir>
#include <QFont>

namespace {

// A folder tree with WAV files of both cases, another file and a subfolder.
struct Tree
{
    QTemporaryDir dir;
    Tree()
    {
        QDir(dir.path()).mkdir("sub folder");
        for (const char *name : {"a.wav", "B.WAV", "c.txt", "sub folder/d é.wav"}) {
            QFile f(dir.filePath(QString::fromUtf8(name)));
            (void)f.open(QIODevice::WriteOnly);
        }
    }
    QString Path(const QString &name = {}) const { return name.isEmpty() ? dir.path() : dir.filePath(name); }
};

std::string Std(const QString &text)
{
    return text.toStdString();
}

} // namespace

class Dialogs : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { TFontDialog::SetChooserForTesting({}); }

    void wavDialogFirstShowing()
    {
        Tree tree;
        Program program({{"WarnDir", Std(tree.Path())}, {"WarnDrive", "c"}});
        program.ShowOptions();
        Form2->Button5->click();
        QVERIFY(QTest::qWaitForWindowExposed(Form3));
        QTRY_COMPARE(QDir::currentPath(), tree.Path());
        QCOMPARE(Form3->Caption(), QStringLiteral("WAV File"));
        QCOMPARE(Form3->pos(), QPoint(330, 161));
        QCOMPARE(Form3->size(), QSize(161, 243));
        QCOMPARE(WarnDrive, std::string("/"));
        QCOMPARE(WarnDir, Std(tree.Path()));
        QCOMPARE(Form3->FileListBox1->Items(), (QStringList{"a.wav", "B.WAV"}));
        QVERIFY(program.box.Errors.isEmpty());
    }

    void takingAFile()
    {
        Tree tree;
        Program program({{"WarnDir", Std(tree.Path())}, {"WarnFile", "/old.wav"}});
        program.ShowOptions();
        Form2->Button5->click();
        QVERIFY(QTest::qWaitForWindowExposed(Form3));
        QTRY_COMPARE(Form3->DirectoryListBox1->Directory(), tree.Path());
        Form3->FileListBox1->SetItemIndex(1);
        Form3->FileListBox1->OnDblClick(nullptr);
        QCOMPARE(WarnFile, Std(tree.Path("B.WAV")));
        QCOMPARE(Form2->Edit27->Text(), tree.Path("B.WAV"));
        QVERIFY(!Form3->Visible());

        // Nothing selected: the file is forgotten, the field keeps its text.
        Form2->Button5->click();
        Form3->DirectoryListBox1->SetDirectory(tree.Path("sub folder"));
        Form3->FileListBox1->SetItemIndex(-1);
        Form3->FileListBox1->OnDblClick(nullptr);
        QCOMPARE(WarnFile, std::string());
        QCOMPARE(Form2->Edit27->Text(), tree.Path("B.WAV"));
        QVERIFY(!Form3->Visible());
    }

    // A folder chosen and the box closed without a file: the folder is saved all the same; a
    // second "Browse" while shown changes nothing.
    void closingKeepsTheFolder()
    {
        Tree tree;
        Program program({{"WarnDir", Std(tree.Path())}});
        program.ShowOptions();
        Form2->Button5->click();
        QVERIFY(QTest::qWaitForWindowExposed(Form3));
        Form3->DirectoryListBox1->SetDirectory(tree.Path("sub folder"));
        Form3->move(400, 300);
        Form2->Button5->click();
        QCOMPARE(Form3->pos(), QPoint(400, 300));
        Form3->close();
        QVERIFY(!Form3->Visible());
        Form2->close();
        QCOMPARE(program.box.Stored("WarnDir"), Std(tree.Path("sub folder")));
        QCOMPARE(program.box.Stored("WarnDrive"), std::string("/"));
    }

    void unenterableFolder()
    {
        Tree tree;
        QDir::setCurrent(tree.Path());
        Program program({{"WarnDir", std::string("/no/such/folder")}});
        program.ShowOptions();
        Form2->Button5->click();
        QVERIFY(QTest::qWaitForWindowExposed(Form3));
        QTRY_COMPARE(program.box.Errors.size(), 1);
        QCOMPARE(program.box.Errors[0], QStringLiteral("Cannot open folder '/no/such/folder': No such file or directory."));
        QCOMPARE(Form3->DirectoryListBox1->Directory(), tree.Path());
    }

    void aboutBox()
    {
        Program program;
        QCOMPARE(Form4->Caption(), QStringLiteral("About Tarniva"));
        QVERIFY(Form4->windowFlags() & Qt::FramelessWindowHint);
        Form4->SetVisible(true);
        QVERIFY(QTest::qWaitForWindowExposed(Form4));
        QCOMPARE(Form4->geometry(), QRect(330, 13, 218, 121));
        QCOMPARE(Form4->Memo1->geometry(), QRect(8, 8, 201, 81));
        QCOMPARE(Form4->BitBtn1->geometry(), QRect(8, 92, 201, 25));
        const QStringList lines = Form4->Memo1->Lines();
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("Tarniva "));
        QVERIFY(lines[1].contains("Orsolen"));
        QVERIFY(lines[2].contains("1.0"));
        QVERIFY(lines[3].contains("@orsolen.example"));
        QVERIFY(lines[4].contains("orsolen.example"));
        QCOMPARE(Form4->Memo1->Color(), TColor(0x800040));
        QCOMPARE(Form4->Memo1->Font().Color(), clLime);
        QVERIFY(Form4->Memo1->ReadOnly());
        QCOMPARE(Form4->BitBtn1->text(), QStringLiteral("OK"));
        Form4->BitBtn1->click();
        QVERIFY(!Form4->Visible());
        Form4->SetVisible(true);
        QCOMPARE(Form4->pos(), QPoint(330, 13));
    }

    // One font for the three dialogs: at once on the Options dialog, at the next showing of the
    // other two; text colours and the two special buttons keep their own.
    void dialogFont()
    {
        Program program;
        program.ShowOptions();
        TFontDialog::SetChooserForTesting([](const QFont &) {
            QFont chosen(QStringLiteral("DejaVu Serif"));
            chosen.setPointSize(10);
            chosen.setBold(true);
            return std::optional<QFont>(chosen);
        });
        Form2->Button3->click();
        QCOMPARE(DFont, std::string("DejaVu Serif"));
        QCOMPARE(FSize, 10);
        QCOMPARE(int(FStyle), int(fsBold));
        for (TFont *font : {&Form2->Label1->Font(), &Form2->SpinEdit7->Font(), &Form2->RadioGroup2->Font(),
                            &Form2->Button9->Font(), &Form2->Edit27->Font()}) {
            QCOMPARE(font->Name(), QStringLiteral("DejaVu Serif"));
            QCOMPARE(font->Size(), 10);
            QCOMPARE(int(font->Style()), int(fsBold));
        }
        QCOMPARE(Form2->Label1->Font().Color(), clRed);
        QCOMPARE(Form2->Button3->Font().Name(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(int(Form2->Button3->Font().Style()), int(fsItalic));
        QCOMPARE(Form2->Button4->Font().Height(), 15);
        QCOMPARE(int(Form2->Button4->Font().Style()), int(fsBold));
        QCOMPARE(Form2->Button4->Font().Name(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(Form2->GroupBox1->Font().Name(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(Form2->GroupBox1->Font().Height(), 12);

        QCOMPARE(Form3->DirectoryListBox1->Font().Name(), QStringLiteral("MS Sans Serif"));
        Form3->SetVisible(true);
        QCOMPARE(Form3->DirectoryListBox1->Font().Name(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(Form3->FileListBox1->Font().Size(), 10);
        Form4->SetVisible(true);
        QCOMPARE(Form4->Memo1->Font().Name(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(int(Form4->BitBtn1->Font().Style()), int(fsBold));
        QCOMPARE(Form4->Memo1->Font().Color(), clLime);

        Form2->close();
        QCOMPARE(program.box.Stored("DFont"), std::string("DejaVu Serif"));
        QCOMPARE(program.box.Stored("FSize"), std::string("10"));
        QCOMPARE(program.box.Stored("FStyle"), std::string("b"));
    }

    void cancelledChooserWithoutAFace()
    {
        Program program;
        TFontDialog::SetChooserForTesting([](const QFont &) { return std::optional<QFont>(); });
        Form2->Button3->click();
        QCOMPARE(DFont, std::string("MS Sans Serif"));
        QCOMPARE(FSize, 8);
        QCOMPARE(int(FStyle), 0);
    }

    // A style the store cannot hold applies now and is lost at the next start.
    void styleThatDoesNotSurvive()
    {
        Program program;
        TFontDialog::SetChooserForTesting([](const QFont &f) {
            QFont chosen = f;
            chosen.setItalic(true);
            chosen.setUnderline(true);
            return std::optional<QFont>(chosen);
        });
        Form2->Button3->click();
        QCOMPARE(int(FStyle), int(fsItalic | fsUnderline));
        QCOMPARE(int(Form2->Label1->Font().Style()), int(fsItalic | fsUnderline));
        Form2->close();
        QCOMPARE(program.box.Stored("FStyle"), std::string());
    }
};

TARNIVA_TEST_MAIN(Dialogs)
#include "tst_dialogs.moc"
