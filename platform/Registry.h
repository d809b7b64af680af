#pragma once

#include "platform/RegFile.h"

#include <QString>
#include <functional>
#include <string>

// The per-user store in place of the registry. A key under HKEY_CURRENT_USER lives in one
// REGEDIT4 file, $XDG_CONFIG_HOME/<key path without "Software\">.reg, so a Windows user can import
// it with regedit and a key exported by regedit reads back.
//
// Every write is one locked read-modify-write that replaces the file atomically: a kill at any
// instant leaves the old file or the new one, and two programs writing at once lose nothing of
// each other's. A file that cannot be read as REGEDIT4 is never overwritten: it is renamed aside,
// the user is told, and the key starts empty.
class TRegistry
{
public:
    // Opens the key, creating it (a file with no values) when it is missing and canCreate is set.
    bool OpenKey(const QString &keyPath, bool canCreate);
    void CloseKey();

    bool ValueExists(const std::string &name) const;
    uint32_t GetDataType(const std::string &name) const;
    // The text up to the first zero byte. Fails with "Invalid data type for '%s'" for a value
    // that is not REG_SZ or REG_EXPAND_SZ (an expandable text is taken literally).
    std::string ReadString(const std::string &name) const;
    // Stores the text and one zero byte as REG_SZ, replacing a value of that name in any case.
    // Fails with "Failed to set data for '%s'" when the file cannot be written.
    void WriteString(const std::string &name, const std::string &text);

    static QString FileForKey(const QString &keyPath);
    // Tests learn of every value written.
    static void SetWriteObserver(std::function<void(const std::string &name)> observer);

private:
    QString m_keyPath;
    QString m_file;
    RegSection m_section;
    bool m_open = false;
};
