#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// File permissions stop root nowhere: CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH pass every check.
// While an object of this class lives, the calling thread goes without those two, so an
// unreadable file or a read-only folder means to the test what it means to a user.
class UserPermissions
{
public:
    UserPermissions()
    {
        if (::geteuid() != 0)
            return;
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2];
        std::memcpy(reduced, m_saved, sizeof reduced);
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_dropped = ::syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~UserPermissions()
    {
        if (m_dropped)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    UserPermissions(const UserPermissions &) = delete;
    UserPermissions &operator=(const UserPermissions &) = delete;

    // Whether a file without read permission really cannot be read now.
    bool Apply() const
    {
        QTemporaryDir dir;
        const QByteArray probe = QFile::encodeName(dir.filePath(QStringLiteral("probe")));
        const int created = ::open(probe.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0);
        if (created < 0)
            return false;
        ::close(created);
        const int opened = ::open(probe.constData(), O_RDONLY | O_CLOEXEC);
        if (opened >= 0)
            ::close(opened);
        return opened < 0;
    }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_dropped = false;
};
