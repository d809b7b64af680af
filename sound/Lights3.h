#pragma once

#include "platform/FileCtrls.h"
#include "platform/Form.h"

// The WAV file dialog: a drive box, a folder list and a "*.wav" file list in a chain. A double
// click on a file takes it as the sound file.
class TForm3 : public TForm
{
    Q_OBJECT
public:
    TForm3();

    TDriveComboBox *DriveComboBox1;
    TDirectoryListBox *DirectoryListBox1;
    TFileListBox *FileListBox1;

    void FormCreate(QObject *Sender); // on every showing
    void FormActivate(QObject *Sender);
    void DriveComboBox1Change(QObject *Sender);
    void DirectoryListBox1Change(QObject *Sender);
    void FileListBox1DblClick(QObject *Sender);
};

extern TForm3 *Form3;
