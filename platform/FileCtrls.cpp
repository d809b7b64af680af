#include "platform/FileCtrls.h"

#include "platform/Application.h"
#include "platform/Exceptions.h"

#include <QAbstractListModel>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <cerrno>
#include <cstring>
#include <unistd.h>

// The rows of a name list as a model, so the view draws only what is on screen.
class TListRows : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    QList<TNameListBox::Row> rows;
    QIcon openFolder, closedFolder;

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : int(rows.size()); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rows.size())
            return {};
        const TNameListBox::Row &row = rows[index.row()];
        switch (role) {
        case Qt::DisplayRole:
            return row.text;
        case Qt::DecorationRole:
            if (row.folder)
                return row.open ? openFolder : closedFolder;
            return {};
        case Qt::UserRole:
            return row.level;
        default:
            return {};
        }
    }

    void Reset(QList<TNameListBox::Row> newRows)
    {
        beginResetModel();
        rows = std::move(newRows);
        endResetModel();
    }
};

namespace {
constexpr int indentPerLevel = 7;

// Draws every row at the list's item height, indented by its level.
class RowDelegate : public QStyledItemDelegate
{
public:
    RowDelegate(TNameListBox *list) : QStyledItemDelegate(list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_list->ItemHeight());
        return size;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() + index.data(Qt::UserRole).toInt() * indentPerLevel);
        QStyledItemDelegate::paint(painter, indented, index);
    }

private:
    TNameListBox *m_list;
};

QString driveName(const QString &rootPath)
{
    // "C:/" is drive "c"; a root without a letter ("/") names itself.
    if (rootPath.size() >= 2 && rootPath[1] == QLatin1Char(':'))
        return rootPath.left(1).toLower();
    return rootPath;
}

QString absoluteClean(const QString &base, const QString &path)
{
    return QDir::cleanPath(QDir(base).absoluteFilePath(path));
}
} // namespace

// ---- TDriveComboBox

TDriveComboBox::TDriveComboBox(QWidget *parent) : QComboBox(parent), TControl(this)
{
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon, nullptr, this);
    for (const QFileInfo &root : QDir::drives()) {
        m_drives << driveName(root.absoluteFilePath());
        addItem(icon, m_drives.back());
    }
    m_drive = DriveOf(QDir::currentPath());
    ShowDrive();
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index < 0 || index >= m_drives.size() || !Guard([&] { SetDrive(m_drives[index]); }))
            ShowDrive();
    });
}

QString TDriveComboBox::DriveOf(const QString &path)
{
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    QString best;
    for (const QFileInfo &root : QDir::drives()) {
        const QString rootPath = root.absoluteFilePath();
        if (absolute.startsWith(rootPath, Qt::CaseInsensitive) && rootPath.size() > best.size())
            best = rootPath;
    }
    return best.isEmpty() ? QString() : driveName(best);
}

QString TDriveComboBox::RootOf(const QString &drive)
{
    for (const QFileInfo &root : QDir::drives())
        if (driveName(root.absoluteFilePath()).compare(drive, Qt::CaseInsensitive) == 0)
            return root.absoluteFilePath();
    return {};
}

void TDriveComboBox::SetDrive(const QString &value)
{
    const QString drive = value.size() == 1 && value[0].isLetter() ? value.toLower() : value;
    if (drive == m_drive)
        return;
    if (!m_drives.contains(drive))
        throw EInOutError(QStringLiteral("Cannot open drive '%1': No such drive").arg(value));
    const QString previous = m_drive;
    m_drive = drive;
    ShowDrive();
    if (m_dirList) {
        try {
            m_dirList->SetDrive(drive);
        } catch (...) {
            m_drive = previous;
            ShowDrive();
            throw;
        }
    }
    Change();
}

void TDriveComboBox::SetDirList(TDirectoryListBox *value)
{
    if (value == m_dirList)
        return;
    if (m_dirList)
        m_dirList->m_driveCombo = nullptr;
    m_dirList = value;
    if (m_dirList)
        m_dirList->m_driveCombo = this;
}

void TDriveComboBox::ShowDrive()
{
    setCurrentIndex(int(m_drives.indexOf(m_drive)));
}

void TDriveComboBox::Change()
{
    if (OnChange)
        Guard([&] { OnChange(this); });
}

void TDriveComboBox::showEvent(QShowEvent *event)
{
    QComboBox::showEvent(event);
    if (m_reported)
        return;
    m_reported = true;
    Change();
}

// ---- TNameListBox

TNameListBox::TNameListBox(QWidget *parent) : QListView(parent), TControl(this), m_rows(new TListRows(this))
{
    m_rows->openFolder = style()->standardIcon(QStyle::SP_DirOpenIcon, nullptr, this);
    m_rows->closedFolder = style()->standardIcon(QStyle::SP_DirClosedIcon, nullptr, this);
    setModel(m_rows);
    setItemDelegate(new RowDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setIconSize(QSize(m_itemHeight - 3, m_itemHeight - 3));
}

void TNameListBox::SetItemHeight(int value)
{
    if (value == m_itemHeight || value <= 0)
        return;
    m_itemHeight = value;
    setIconSize(QSize(qMax(1, value - 3), qMax(1, value - 3)));
    // The view measures uniform rows once; make it measure again.
    m_rows->Reset(m_rows->rows);
}

QStringList TNameListBox::Items() const
{
    QStringList items;
    items.reserve(m_rows->rows.size());
    for (const Row &row : m_rows->rows)
        items << row.text;
    return items;
}

int TNameListBox::Count() const
{
    return int(m_rows->rows.size());
}

int TNameListBox::ItemIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void TNameListBox::SetItemIndex(int value)
{
    if (value < 0 || value >= Count()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_rows->index(value);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void TNameListBox::SetRows(QList<Row> rows)
{
    m_rows->Reset(std::move(rows));
}

// ---- TDirectoryListBox

TDirectoryListBox::TDirectoryListBox(QWidget *parent) : TNameListBox(parent), m_directory(QDir::currentPath())
{
    Fill();
    connect(this, &QListView::doubleClicked, this, [this](const QModelIndex &index) { OpenItem(index.row()); });
}

void TDirectoryListBox::SetDirectory(const QString &value)
{
    if (value.isEmpty())
        return;
    const QString target = absoluteClean(m_directory, value);
    if (target == m_directory)
        return;
    if (::chdir(QFile::encodeName(target).constData()) != 0) {
        const int error = errno;
        throw EInOutError(QStringLiteral("Cannot open folder '%1': %2")
                              .arg(QDir::toNativeSeparators(target), QString::fromLocal8Bit(std::strerror(error))));
    }
    m_directory = target;
    Fill();
    if (m_driveCombo)
        m_driveCombo->SetDrive(Drive());
    if (m_fileList)
        m_fileList->SetDirectory(m_directory);
    if (OnChange)
        Guard([&] { OnChange(this); });
}

void TDirectoryListBox::SetDrive(const QString &value)
{
    const QString root = TDriveComboBox::RootOf(value);
    if (root.isEmpty())
        throw EInOutError(QStringLiteral("Cannot open drive '%1': No such drive").arg(value));
    if (TDriveComboBox::DriveOf(root) == Drive())
        return;
    // The process keeps one current directory; another drive is entered at its root.
    const QString current = QDir::currentPath();
    SetDirectory(TDriveComboBox::DriveOf(current) == TDriveComboBox::DriveOf(root) ? current : root);
}

void TDirectoryListBox::SetFileList(TFileListBox *value)
{
    if (value == m_fileList)
        return;
    m_fileList = value;
    if (m_fileList)
        m_fileList->SetDirectory(m_directory);
}

QString TDirectoryListBox::ItemPath(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    const QString root = TDriveComboBox::RootOf(Drive());
    const QStringList parts = m_directory.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (index <= parts.size())
        return QDir::cleanPath(root + parts.mid(0, index).join(QLatin1Char('/')));
    return QDir::cleanPath(m_directory + QLatin1Char('/') + m_rows->rows[index].text);
}

void TDirectoryListBox::Fill()
{
    const QString root = TDriveComboBox::RootOf(Drive());
    const QStringList parts = m_directory.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QList<Row> rows;
    rows.append({QDir::toNativeSeparators(root), 0, true, true});
    for (int i = 0; i < parts.size(); ++i)
        rows.append({parts[i], i + 1, true, true});
    const int current = m_currentRow = int(rows.size()) - 1;
    const QStringList subfolders =
        QDir(m_directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subfolders)
        rows.append({name, current + 1, true, false});
    SetRows(std::move(rows));
    SetItemIndex(current);
}

void TDirectoryListBox::OpenItem(int index)
{
    const QString path = ItemPath(index);
    if (path.isEmpty() || !Guard([&] { SetDirectory(path); }))
        SetItemIndex(m_currentRow);
}

void TDirectoryListBox::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        OpenItem(currentIndex().row());
        event->accept();
        return;
    }
    TNameListBox::keyPressEvent(event);
}

// ---- TFileListBox

TFileListBox::TFileListBox(QWidget *parent) : TNameListBox(parent), m_directory(QDir::currentPath())
{
    Update();
}

void TFileListBox::SetDirectory(const QString &value)
{
    const QString directory = absoluteClean(m_directory, value);
    if (directory == m_directory)
        return;
    m_directory = directory;
    Update();
}

void TFileListBox::SetMask(const QString &value)
{
    if (value == m_mask)
        return;
    m_mask = value;
    Update();
}

void TFileListBox::Update()
{
    QStringList filters;
    for (QString mask : m_mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        mask = mask.trimmed();
        // "*.*" means every file, with an extension or without.
        filters << (mask == QLatin1String("*.*") ? QStringLiteral("*") : mask);
    }
    const QStringList names = QDir(m_directory).entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QList<Row> rows;
    rows.reserve(names.size());
    for (const QString &name : names)
        rows.append({name, 0, false, false});
    SetRows(std::move(rows));
}

QString TFileListBox::FileName() const
{
    const int index = ItemIndex();
    return index < 0 ? QString() : QDir(m_directory).filePath(m_rows->rows[index].text);
}

void TFileListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    TNameListBox::mouseDoubleClickEvent(event);
    if (OnDblClick)
        Guard([&] { OnDblClick(this); });
}
