#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

// Value types of the registry.
enum : uint32_t { REG_NONE = 0, REG_SZ = 1, REG_EXPAND_SZ = 2, REG_BINARY = 3, REG_DWORD = 4 };

struct RegValue
{
    QByteArray Name;
    uint32_t Type = REG_SZ;
    QByteArray Data; // as the registry holds it: a text's bytes and its terminating zero
};

struct RegSection
{
    QByteArray Path; // "HKEY_CURRENT_USER\Software\..."
    std::vector<RegValue> Values;

    // Names match without regard to case.
    const RegValue *Find(const QByteArray &name) const;
    // Replaces a value of that name in any case, or appends it; one entry remains.
    void Set(RegValue value);
};

// The text of regedit's REGEDIT4 export format, read and written byte for byte:
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Orsolen\Lights]
//   "Name"="text"            REG_SZ, with \ written as \\ and " as \"
//   "Name"=dword:0000002a    REG_DWORD
//   "Name"=hex(2):41,00      any other type, two-digit hex bytes, lines continued with a backslash
struct RegFile
{
    std::vector<RegSection> Sections;

    RegSection *Find(const QByteArray &path);
    const RegSection *Find(const QByteArray &path) const;

    // Reads the text; nothing when it is not REGEDIT4 (a UTF-16 "Windows Registry Editor" export
    // of a newer regedit is read too).
    static std::optional<RegFile> Parse(const QByteArray &text);
    QByteArray Serialize() const;
};
