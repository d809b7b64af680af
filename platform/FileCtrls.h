#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

#include <QComboBox>
#include <QListView>
#include <QPointer>
#include <QStringList>

class TDirectoryListBox;
class TFileListBox;
class TListRows;

// The drives, each named as Drive reports it: a lower-case letter where drives have letters,
// otherwise the root itself ("/" on Linux, the single drive there).
class TDriveComboBox : public QComboBox, public TControl
{
    Q_OBJECT
public:
    // Starts on the drive of the process's current directory.
    explicit TDriveComboBox(QWidget *parent);

    QString Drive() const { return m_drive; }
    // Moves the linked directory list to that drive's current directory; a drive that does not
    // exist or cannot be entered fails with EInOutError and changes nothing.
    void SetDrive(const QString &value);

    TDirectoryListBox *DirList() const { return m_dirList; }
    // The list follows this box's drive, and this box follows the list's directory.
    void SetDirList(TDirectoryListBox *value);

    // Runs at every change of the drive, and once when the box is first shown, to report the
    // drive it started on.
    TNotifyEvent OnChange;

    // The drive a path lies on, named as Drive names it.
    static QString DriveOf(const QString &path);
    // The root folder of a drive, or "" when there is no such drive.
    static QString RootOf(const QString &drive);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ShowDrive();
    void Change();

    QStringList m_drives;
    QString m_drive;
    QPointer<TDirectoryListBox> m_dirList;
    bool m_reported = false;
};

// A list of names at a fixed item height, for the folder and file lists. The rows are plain data,
// so thousands of names cost no more than their text.
class TNameListBox : public QListView, public TControl
{
    Q_OBJECT
public:
    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int value);

    QStringList Items() const;
    int Count() const;
    // The selected item, -1 when none is.
    int ItemIndex() const;
    void SetItemIndex(int value);

    // One shown name: its indentation level and, for folders, whether it is drawn open.
    struct Row
    {
        QString text;
        int level = 0;
        bool folder = false;
        bool open = false;
    };

protected:
    explicit TNameListBox(QWidget *parent);

    void SetRows(QList<Row> rows);

    TListRows *m_rows;

private:
    int m_itemHeight = 16;
};

// The folder tree around the current folder: the path from the root down to it, one item per
// folder, then its subfolders, sorted. A double click (or Enter) opens an item's folder.
// The list's folder is the process's current directory.
class TDirectoryListBox : public TNameListBox
{
    Q_OBJECT
public:
    // Starts in the process's current directory.
    explicit TDirectoryListBox(QWidget *parent);

    QString Directory() const { return m_directory; }
    // Enters the folder (relative paths from the current one), makes it the process's current
    // directory, moves a linked drive box to its drive and refills a linked file list. An empty
    // path or the current folder changes nothing. A folder that cannot be entered fails with
    // EInOutError naming the folder and the reason, and changes nothing.
    void SetDirectory(const QString &value);

    QString Drive() const { return TDriveComboBox::DriveOf(m_directory); }
    // Moves to the drive's current directory; nothing when already on that drive.
    void SetDrive(const QString &value);

    TFileListBox *FileList() const { return m_fileList; }
    void SetFileList(TFileListBox *value);

    // The folder that an item stands for.
    QString ItemPath(int index) const;

    TNotifyEvent OnChange;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    friend class TDriveComboBox;

    void Fill();
    void OpenItem(int index);

    QString m_directory;
    int m_currentRow = 0;
    QPointer<TDriveComboBox> m_driveCombo;
    QPointer<TFileListBox> m_fileList;
};

// The files of one folder whose names match the mask, sorted. Masks match regardless of case
// ("*.wav" shows "A.WAV"); several are separated by ";".
class TFileListBox : public TNameListBox
{
    Q_OBJECT
public:
    // Starts in the process's current directory with the mask "*.*", every file.
    explicit TFileListBox(QWidget *parent);

    QString Directory() const { return m_directory; }
    void SetDirectory(const QString &value);
    QString Mask() const { return m_mask; }
    void SetMask(const QString &value);
    // Reads the folder again.
    void Update();

    // The full path of the selected file, "" when none is selected.
    QString FileName() const;

    // Any double click on the list, on a file or not.
    TNotifyEvent OnDblClick;

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString m_directory;
    QString m_mask = QStringLiteral("*.*");
};
