#include "sound/Lights3.h"

#include "options/Lights2.h"
#include "platform/Convert.h"
#include "strip/Lights1.h"
#include "strip/Settings.h"

TForm3 *Form3 = nullptr;

TForm3::TForm3() : TForm(bsToolWindow, Form1)
{
    SetCaption(QStringLiteral("WAV File"));
    SetColor(clBlack);
    Font().SetName(QStringLiteral("MS Sans Serif"));
    Font().SetHeight(11);
    SetClientSize(161, 243);
    move(330, 161);

    DriveComboBox1 = new TDriveComboBox(this);
    DriveComboBox1->SetBounds(8, 8, 145, 19);
    DirectoryListBox1 = new TDirectoryListBox(this);
    DirectoryListBox1->SetBounds(8, 32, 145, 97);
    DirectoryListBox1->SetItemHeight(16);
    FileListBox1 = new TFileListBox(this);
    FileListBox1->SetBounds(8, 136, 145, 97);
    FileListBox1->SetItemHeight(13);
    FileListBox1->SetMask(QStringLiteral("*.wav"));
    DriveComboBox1->SetDirList(DirectoryListBox1);
    DirectoryListBox1->SetFileList(FileListBox1);

    OnShow = [this](QObject *s) { FormCreate(s); };
    OnActivate = [this](QObject *s) { FormActivate(s); };
    DriveComboBox1->OnChange = [this](QObject *s) { DriveComboBox1Change(s); };
    DirectoryListBox1->OnChange = [this](QObject *s) { DirectoryListBox1Change(s); };
    FileListBox1->OnDblClick = [this](QObject *s) { FileListBox1DblClick(s); };
}

void TForm3::FormCreate(QObject *)
{
    ApplyDialogFont({&Font(), &DriveComboBox1->Font(), &DirectoryListBox1->Font(), &FileListBox1->Font()});
}

void TForm3::FormActivate(QObject *)
{
    DriveComboBox1->SetDrive(DisplayText(WarnDrive).left(1));
    if (!WarnDir.empty())
        DirectoryListBox1->SetDirectory(DisplayText(WarnDir));
}

void TForm3::DriveComboBox1Change(QObject *)
{
    WarnDrive = DriveComboBox1->Drive().left(1).toStdString();
}

void TForm3::DirectoryListBox1Change(QObject *)
{
    WarnDir = DirectoryListBox1->Directory().toStdString();
}

void TForm3::FileListBox1DblClick(QObject *)
{
    WarnFile = FileListBox1->FileName().toStdString();
    if (!WarnFile.empty())
        Form2->Edit27->SetText(DisplayText(WarnFile));
    SetVisible(false);
}
