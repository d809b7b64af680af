#include "platform/Registry.h"

#include "platform/Application.h"
#include "platform/Convert.h"
#include "platform/Exceptions.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::function<void(const std::string &)> writeObserver;

// A store file larger than this is no settings file of ours.
constexpr qint64 maxFileSize = 16 * 1024 * 1024;

// Damaged files that could not be moved aside: they must never be overwritten.
QSet<QString> &untouchable()
{
    static QSet<QString> files;
    return files;
}

QByteArray sectionPath(const QString &keyPath)
{
    return "HKEY_CURRENT_USER\\" + keyPath.toUtf8();
}

// Holds the lock on the store's folder for one read-modify-write.
class FolderLock
{
public:
    explicit FolderLock(const QString &folder)
    {
        m_fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd >= 0) {
            int result;
            while ((result = ::flock(m_fd, LOCK_EX)) != 0 && errno == EINTR) {
            }
            m_held = result == 0;
        }
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    bool Held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = false;
};

enum class FileState { Missing, Read, Damaged };

// Reads and parses the file; a damaged one is renamed aside (or, when that fails, marked so that
// nothing overwrites it) and the user is told.
FileState readStore(const QString &file, RegFile &content)
{
    QFileInfo info(file);
    if (!info.exists() && !info.isSymLink())
        return FileState::Missing;
    if (info.isSymLink() && !info.exists())
        return FileState::Missing; // a dangling link: the file it names is created

    QString problem;
    const QString tooLarge = QStringLiteral("it is larger than %1 MiB").arg(maxFileSize >> 20);
    if (!info.isFile()) {
        problem = QStringLiteral("it is not a file");
    } else if (info.size() > maxFileSize) {
        problem = tooLarge;
    } else {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            problem = f.errorString();
        } else {
            // Only what the file holds: a buffer of the largest size allowed would cost 16 MiB at
            // every access of the store.
            QByteArray bytes;
            while (bytes.size() <= maxFileSize) {
                const QByteArray chunk = f.read(64 * 1024);
                if (chunk.isEmpty())
                    break;
                bytes += chunk;
            }
            auto parsed = bytes.size() > maxFileSize ? std::nullopt : RegFile::Parse(bytes);
            if (parsed) {
                content = std::move(*parsed);
                return FileState::Read;
            }
            problem = bytes.size() > maxFileSize ? tooLarge : QStringLiteral("it is not a REGEDIT4 file");
        }
    }

    if (untouchable().contains(file))
        return FileState::Damaged;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = file + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = file + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    if (::rename(QFile::encodeName(file).constData(), QFile::encodeName(aside).constData()) == 0) {
        ReportFailure(QStringLiteral("The settings file '%1' could not be read (%2). It was kept as '%3', "
                                     "and Tarniva goes on with default settings")
                          .arg(file, problem, aside));
        return FileState::Missing;
    }
    untouchable().insert(file);
    ReportFailure(QStringLiteral("The settings file '%1' could not be read (%2) nor moved aside (%3). "
                                 "Tarniva goes on with default settings and leaves the file as it is")
                      .arg(file, problem, QString::fromLocal8Bit(std::strerror(errno))));
    return FileState::Damaged;
}

// A writer killed between creating its new file and renaming it leaves the new file behind. Only
// the holder of the lock writes, so any such file found under the lock is a leftover.
void removeLeftovers(const QString &file, const FolderLock &lock)
{
    if (!lock.Held())
        return;
    const QFileInfo info(file);
    const QDir folder = info.absoluteDir();
    for (const QString &name : folder.entryList({info.fileName() + QStringLiteral(".??????.tmp")},
                                                QDir::Files | QDir::Hidden | QDir::System))
        ::unlink(QFile::encodeName(folder.filePath(name)).constData());
}

// Writes a new file beside the old one and renames it over, so a reader (or a kill) sees one or
// the other, whole. Every byte must reach the new file: a short write (a full disk) fails.
// No fsync: saving writes 31 values one by one, and on a busy disk 31 syncs take far longer
// than a user should wait when closing a dialog; the file systems' own ordering of a rename
// over an existing file covers the common crash.
bool writeStore(const QString &file, const RegFile &content, const FolderLock &lock)
{
    if (untouchable().contains(file))
        return false;
    removeLeftovers(file, lock);
    const QByteArray bytes = content.Serialize();
    QByteArray temp = QFile::encodeName(file) + ".XXXXXX.tmp";
    const int fd = ::mkostemps(temp.data(), 4, O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat old;
    const bool hadFile = ::stat(QFile::encodeName(file).constData(), &old) == 0;
    bool ok = ::fchmod(fd, hadFile ? (old.st_mode & 07777) : 0644) == 0;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            ok = false;
    }
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.constData(), QFile::encodeName(file).constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}

// The file a link points at, so a linked settings file stays linked.
QString resolved(const QString &file)
{
    QFileInfo info(file);
    return info.isSymLink() ? info.symLinkTarget() : file;
}

} // namespace

QString TRegistry::FileForKey(const QString &keyPath)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    QString relative = keyPath;
    if (relative.startsWith(QLatin1String("Software\\"), Qt::CaseInsensitive))
        relative.remove(0, 9);
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return base + QLatin1Char('/') + relative + QStringLiteral(".reg");
}

void TRegistry::SetWriteObserver(std::function<void(const std::string &)> observer)
{
    writeObserver = std::move(observer);
}

bool TRegistry::OpenKey(const QString &keyPath, bool canCreate)
{
    CloseKey();
    m_keyPath = keyPath;
    m_file = resolved(FileForKey(keyPath));
    const QString folder = QFileInfo(m_file).absolutePath();
    if (canCreate)
        QDir().mkpath(folder);

    FolderLock lock(folder);
    RegFile content;
    const FileState state = readStore(m_file, content);
    if (const RegSection *section = content.Find(sectionPath(keyPath)))
        m_section = *section;
    else if (state == FileState::Missing && canCreate) {
        // A first start leaves an empty key behind; a folder we cannot write is no failure here.
        content.Sections.push_back({sectionPath(keyPath), {}});
        writeStore(m_file, content, lock);
    }
    m_open = true;
    return true;
}

void TRegistry::CloseKey()
{
    m_open = false;
    m_section = RegSection();
}

bool TRegistry::ValueExists(const std::string &name) const
{
    return m_open && m_section.Find(QByteArray::fromStdString(name));
}

uint32_t TRegistry::GetDataType(const std::string &name) const
{
    const RegValue *value = m_open ? m_section.Find(QByteArray::fromStdString(name)) : nullptr;
    return value ? value->Type : uint32_t(REG_NONE);
}

std::string TRegistry::ReadString(const std::string &name) const
{
    const RegValue *value = m_open ? m_section.Find(QByteArray::fromStdString(name)) : nullptr;
    if (!value)
        return {};
    if (value->Type != REG_SZ && value->Type != REG_EXPAND_SZ)
        throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(DisplayText(name)));
    const QByteArray &data = value->Data;
    const qsizetype end = data.indexOf('\0');
    return (end < 0 ? data : data.left(end)).toStdString();
}

void TRegistry::WriteString(const std::string &name, const std::string &text)
{
    const QString folder = QFileInfo(m_file).absolutePath();
    bool written = false;
    if (m_open) {
        FolderLock lock(folder);
        RegFile content;
        if (readStore(m_file, content) != FileState::Damaged) {
            const QByteArray path = sectionPath(m_keyPath);
            RegSection *section = content.Find(path);
            if (!section) {
                content.Sections.push_back({path, {}});
                section = &content.Sections.back();
            }
            section->Set({QByteArray::fromStdString(name), REG_SZ, QByteArray::fromStdString(text) + '\0'});
            written = writeStore(m_file, content, lock);
            if (written)
                m_section = *section;
        }
    }
    if (written && writeObserver)
        writeObserver(name);
    if (!written)
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(DisplayText(name)));
}
