// The drive box, folder list and file list, linked as in the WAV file dialog, on a folder tree
// of their own.
#include "TestSupport.h"

#include "platform/Exceptions.h"
#include "platform/FileCtrls.h"

#include <QDir>
#include <memory>

namespace {
// Drive box, folder list and file list linked in a chain, recording their events.
struct Chain
{
    Chain()
    {
        window.resize(161, 320);
        drive = new TDriveComboBox(&window);
        drive->SetBounds(8, 8, 145, 19);
        dirs = new TDirectoryListBox(&window);
        dirs->SetBounds(8, 32, 145, 160);
        dirs->SetItemHeight(16);
        files = new TFileListBox(&window);
        files->SetBounds(8, 200, 145, 97);
        files->SetItemHeight(13);
        files->SetMask(QStringLiteral("*.wav"));
        drive->SetDirList(dirs);
        dirs->SetFileList(files);
        drive->OnChange = [this](QObject *) { events << "drive " + drive->Drive(); };
        dirs->OnChange = [this](QObject *) { events << "dir " + dirs->Directory(); };
        files->OnDblClick = [this](QObject *) { events << "take " + files->FileName(); };
    }

    void DoubleClick(QListView *list, int row)
    {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        DoubleClickAt(list, list->visualRect(index).center());
    }
    // What the window system delivers: press, release, then the second press as a double click.
    static void DoubleClickAt(QListView *list, QPoint point)
    {
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, point);
    }

    QWidget window;
    TDriveComboBox *drive;
    TDirectoryListBox *dirs;
    TFileListBox *files;
    QStringList events;
};

QStringList pathParts(const QString &path)
{
    return path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}
} // namespace

class FileCtrls : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<Sandbox> box;
    std::unique_ptr<QTemporaryDir> tree;
    QString startDir, root, sounds;

    static void touch(const QString &path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private slots:
    void init()
    {
        startDir = QDir::currentPath();
        box = std::make_unique<Sandbox>();
        tree = std::make_unique<QTemporaryDir>();
        root = QFileInfo(tree->path()).canonicalFilePath();
        sounds = root + "/sounds dir";
        for (const char *folder : {"sounds dir/sub", "sounds dir/Zeta", "sounds dir/.git", "empty"})
            QVERIFY(QDir(root).mkpath(folder));
        for (const char *file : {"a.wav", "B.WAV", "c.txt", "ünï 'q\".wav", ".hidden.wav"})
            touch(sounds + "/" + QString::fromUtf8(file));
        touch(root + "/plain.txt");
        QDir::setCurrent(root);
    }
    void cleanup()
    {
        QDir::setCurrent(startDir);
        box.reset();
        tree.reset();
    }

    void startsInTheCurrentDirectory()
    {
        QDir::setCurrent(sounds);
        Chain c;
        QCOMPARE(c.drive->Drive(), QStringLiteral("/"));
        QCOMPARE(c.dirs->Directory(), sounds);
        QCOMPARE(c.dirs->Items(), (QStringList{"/"} + pathParts(sounds) + QStringList{"sub", "Zeta"}));
        QCOMPARE(c.dirs->ItemIndex(), int(pathParts(sounds).size()));
        QCOMPARE(c.files->Items(), (QStringList{"a.wav", "B.WAV", "ünï 'q\".wav"}));
        QCOMPARE(c.files->FileName(), QString());
        QCOMPARE(c.dirs->visualRect(c.dirs->model()->index(1, 0)).height(), 16);
        QCOMPARE(c.files->visualRect(c.files->model()->index(1, 0)).height(), 13);
    }

    void directoryDrivesTheChain()
    {
        Chain c;
        c.dirs->SetDirectory(sounds);
        QCOMPARE(c.events, QStringList{"dir " + sounds});
        QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), sounds);
        QCOMPARE(c.files->Directory(), sounds);
        QCOMPARE(c.files->Items(), (QStringList{"a.wav", "B.WAV", "ünï 'q\".wav"}));
        QCOMPARE(c.drive->Drive(), QStringLiteral("/"));

        // The same folder, or none, changes nothing; a relative path goes from the current one.
        c.dirs->SetDirectory(sounds);
        c.dirs->SetDirectory(QString());
        c.dirs->SetDirectory(QStringLiteral("sub"));
        QCOMPARE(c.events, (QStringList{"dir " + sounds, "dir " + sounds + "/sub"}));
        QCOMPARE(c.files->Items(), QStringList{});
        c.dirs->SetDirectory(QStringLiteral("/"));
        QCOMPARE(c.dirs->Items().front(), QStringLiteral("/"));
        QCOMPARE(c.dirs->ItemIndex(), 0);
        QCOMPARE(QDir::currentPath(), QStringLiteral("/"));
    }

    void mask_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("wav in any case") << "*.wav" << QStringList{"a.wav", "B.WAV", "ünï 'q\".wav"};
        QTest::newRow("upper-case mask") << "*.WAV" << QStringList{"a.wav", "B.WAV", "ünï 'q\".wav"};
        QTest::newRow("every file") << "*.*" << QStringList{"a.wav", "B.WAV", "c.txt", "ünï 'q\".wav"};
        QTest::newRow("two masks") << "*.txt;b.*" << QStringList{"B.WAV", "c.txt"};
    }
    void mask()
    {
        QFETCH(QString, mask);
        QFETCH(QStringList, items);
        TFileListBox files(nullptr);
        files.SetDirectory(sounds);
        files.SetMask(mask);
        QCOMPARE(files.Items(), items);
    }

    void doubleClicks()
    {
        Chain c;
        c.window.show();
        c.dirs->SetDirectory(sounds);
        const int current = c.dirs->ItemIndex();
        c.DoubleClick(c.dirs, current + 2);
        QCOMPARE(c.dirs->Directory(), sounds + "/Zeta");
        QCOMPARE(c.dirs->Items().last(), QStringLiteral("Zeta"));
        // An ancestor: the temporary tree's root.
        c.DoubleClick(c.dirs, current - 1);
        QCOMPARE(c.dirs->Directory(), root);
        QCOMPARE(c.dirs->Items().mid(current), (QStringList{"empty", "sounds dir"}));
        c.DoubleClick(c.dirs, current + 1);
        QCOMPARE(c.dirs->Directory(), sounds);

        c.DoubleClick(c.files, 2);
        c.DoubleClick(c.files, 1);
        c.dirs->SetDirectory(root + "/empty");
        c.DoubleClickAt(c.files, QPoint(20, 20));
        QCOMPARE(c.events, (QStringList{"drive /", "dir " + sounds, "dir " + sounds + "/Zeta", "dir " + root, "dir " + sounds,
                                        "take " + sounds + "/ünï 'q\".wav", "take " + sounds + "/B.WAV",
                                        "dir " + root + "/empty", "take "}));
        QVERIFY(box->Errors.isEmpty());
    }

    void folderThatCannotBeEntered_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing" << "No such file or directory";
        QTest::newRow("a file") << "plain.txt" << "Not a directory";
    }
    void folderThatCannotBeEntered()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        Chain c;
        const QStringList dirItems = c.dirs->Items(), fileItems = c.files->Items();
        try {
            c.dirs->SetDirectory(root + "/" + name);
            QFAIL("entered a folder that cannot be entered");
        } catch (const EInOutError &e) {
            QCOMPARE(e.Message, QStringLiteral("Cannot open folder '%1/%2': %3").arg(root, name, reason));
        }
        QCOMPARE(c.dirs->Directory(), root);
        QCOMPARE(QDir::currentPath(), root);
        QCOMPARE(c.dirs->Items(), dirItems);
        QCOMPARE(c.files->Items(), fileItems);
        QCOMPARE(c.events, QStringList{});
    }

    void doubleClickOnAVanishedFolder()
    {
        QDir::setCurrent(sounds);
        Chain c;
        c.window.show();
        const int current = c.dirs->ItemIndex();
        QVERIFY(QDir(sounds).rmdir(QStringLiteral("sub")));
        c.DoubleClick(c.dirs, current + 1);
        QCOMPARE(box->Errors, QStringList{QStringLiteral("Cannot open folder '%1/sub': No such file or directory.").arg(sounds)});
        QCOMPARE(c.dirs->Directory(), sounds);
        QCOMPARE(c.dirs->ItemIndex(), current);
        QCOMPARE(c.events, QStringList{"drive /"});
    }

    void driveBox()
    {
        Chain c;
        QCOMPARE(c.drive->Drive(), QStringLiteral("/"));
        QCOMPARE(TDriveComboBox::DriveOf(sounds), QStringLiteral("/"));
        c.drive->SetDrive(QStringLiteral("/"));
        QVERIFY_THROWS_EXCEPTION(EInOutError, c.drive->SetDrive(QStringLiteral("q")));
        QCOMPARE(c.drive->Drive(), QStringLiteral("/"));
        QCOMPARE(c.dirs->Directory(), root);
        QCOMPARE(c.events, QStringList{});
    }

    // The drive box reports its drive when it first comes on screen, before the window's own
    // show handler runs, and only then.
    void driveBoxReportsOnFirstShowing()
    {
        TForm form(bsToolWindow);
        TDriveComboBox drive(&form);
        drive.SetBounds(8, 8, 145, 19);
        QStringList events;
        drive.OnChange = [&](QObject *) { events << "drive " + drive.Drive(); };
        form.OnShow = [&](QObject *) { events << QStringLiteral("show"); };
        QCOMPARE(events, QStringList{});
        form.SetVisible(true);
        form.SetVisible(false);
        form.SetVisible(true);
        QCOMPARE(events, (QStringList{"drive /", "show", "show"}));
    }

    void manyFiles()
    {
        const QString crowd = root + "/crowd";
        QVERIFY(QDir(root).mkpath(QStringLiteral("crowd")));
        for (int i = 0; i < 3000; ++i)
            touch(QStringLiteral("%1/take %2.wav").arg(crowd).arg(i, 4, 10, QLatin1Char('0')));
        TFileListBox files(nullptr);
        files.SetMask(QStringLiteral("*.wav"));
        files.SetDirectory(crowd);
        QCOMPARE(files.Count(), 3000);
        QCOMPARE(files.Items().last(), QStringLiteral("take 2999.wav"));
        QBENCHMARK {
            files.Update();
        }
    }
};

TARNIVA_TEST_MAIN(FileCtrls)
#include "tst_filectrls.moc"
