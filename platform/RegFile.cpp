#include "platform/RegFile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <cstdio>
#include <utility>

namespace {

bool sameName(const QByteArray &a, const QByteArray &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray escaped(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size() + 2);
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

// A quoted string starting at text[pos] == '"'; pos ends after the closing quote.
std::optional<QByteArray> quoted(const QByteArray &text, qsizetype &pos)
{
    QByteArray out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"'))
            ++pos;
        out += text[pos];
    }
    return std::nullopt;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<QByteArray> hexBytes(const QByteArray &text)
{
    QByteArray out;
    const QByteArray body = text.trimmed();
    if (body.isEmpty())
        return out;
    for (const QByteArray &part : body.split(',')) {
        const QByteArray digits = part.trimmed();
        if (digits.size() < 1 || digits.size() > 2)
            return std::nullopt;
        int value = 0;
        for (char c : digits) {
            const int d = hexDigit(c);
            if (d < 0)
                return std::nullopt;
            value = value * 16 + d;
        }
        out += char(value);
    }
    return out;
}

QByteArray hexText(const QByteArray &prefix, const QByteArray &data)
{
    // regedit folds long hex lines at about 80 columns with a trailing backslash.
    QByteArray out = prefix;
    qsizetype column = out.size();
    for (qsizetype i = 0; i < data.size(); ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", unsigned(uchar(data[i])));
        out += pair;
        column += 2;
        if (i + 1 < data.size()) {
            out += ',';
            ++column;
            if (column > 76) {
                out += "\\\r\n  ";
                column = 2;
            }
        }
    }
    return out;
}

// A REG_SZ whose bytes fit on one quoted line: no line breaks or other control bytes, and exactly
// one zero, at the end.
bool quotable(const RegValue &value)
{
    if (value.Type != REG_SZ || value.Data.isEmpty() || value.Data.back() != '\0')
        return false;
    for (qsizetype i = 0; i + 1 < value.Data.size(); ++i)
        if (uchar(value.Data[i]) < 0x20 || value.Data[i] == 0x7f)
            return false;
    return true;
}

std::optional<RegValue> valueLine(const QByteArray &line)
{
    RegValue value;
    qsizetype pos = 0;
    if (line.startsWith('@')) {
        pos = 1;
    } else {
        auto name = quoted(line, pos);
        if (!name)
            return std::nullopt;
        value.Name = *name;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos >= line.size() || line[pos] != '=')
        return std::nullopt;
    ++pos;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    const QByteArray rest = line.mid(pos);

    if (rest.startsWith('"')) {
        qsizetype p = 0;
        auto text = quoted(rest, p);
        if (!text || !rest.mid(p).trimmed().isEmpty())
            return std::nullopt;
        value.Type = REG_SZ;
        value.Data = *text + '\0';
        return value;
    }
    if (rest.startsWith("dword:")) {
        const QByteArray digits = rest.mid(6).trimmed();
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        uint32_t number = 0;
        for (char c : digits) {
            const int d = hexDigit(c);
            if (d < 0)
                return std::nullopt;
            number = number * 16 + uint32_t(d);
        }
        value.Type = REG_DWORD;
        for (int i = 0; i < 4; ++i)
            value.Data += char((number >> (8 * i)) & 0xFF);
        return value;
    }
    if (rest.startsWith("hex")) {
        qsizetype colon = rest.indexOf(':');
        if (colon < 0)
            return std::nullopt;
        const QByteArray kind = rest.left(colon);
        if (kind == "hex") {
            value.Type = REG_BINARY;
        } else if (kind.startsWith("hex(") && kind.endsWith(')') && kind.size() > 5 && kind.size() <= 13) {
            uint32_t type = 0;
            for (char c : kind.mid(4, kind.size() - 5)) {
                const int d = hexDigit(c);
                if (d < 0)
                    return std::nullopt;
                type = type * 16 + uint32_t(d);
            }
            value.Type = type;
        } else {
            return std::nullopt;
        }
        auto bytes = hexBytes(rest.mid(colon + 1));
        if (!bytes)
            return std::nullopt;
        value.Data = *bytes;
        return value;
    }
    return std::nullopt;
}

} // namespace

const RegValue *RegSection::Find(const QByteArray &name) const
{
    for (const RegValue &v : Values)
        if (sameName(v.Name, name))
            return &v;
    return nullptr;
}

void RegSection::Set(RegValue value)
{
    for (RegValue &v : Values) {
        if (sameName(v.Name, value.Name)) {
            v = std::move(value);
            return;
        }
    }
    Values.push_back(std::move(value));
}

RegSection *RegFile::Find(const QByteArray &path)
{
    for (RegSection &s : Sections)
        if (sameName(s.Path, path))
            return &s;
    return nullptr;
}

const RegSection *RegFile::Find(const QByteArray &path) const
{
    return const_cast<RegFile *>(this)->Find(path);
}

std::optional<RegFile> RegFile::Parse(const QByteArray &raw)
{
    QByteArray text = raw;
    if (text.startsWith("\xFF\xFE")) {
        if (text.size() % 2 != 0)
            return std::nullopt;
        text = QString::fromUtf16(reinterpret_cast<const char16_t *>(text.constData() + 2), (text.size() - 2) / 2)
                   .toUtf8();
    } else if (text.startsWith("\xEF\xBB\xBF")) {
        text.remove(0, 3);
    }

    // Join continued lines first: a line ending in a backslash goes on with the next one. The
    // pieces are appended, never copied whole again, as a long value runs over many lines.
    std::vector<QByteArray> lines;
    QByteArray pending;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const bool continued = !pending.isEmpty();
        if (continued) {
            pending += line.trimmed();
            line = std::exchange(pending, QByteArray());
        }
        // Only hex values go on over lines; a comment never does.
        const bool comment = !continued && line.trimmed().startsWith(';');
        if (line.endsWith('\\') && !comment && (continued || line.contains("=hex"))) {
            line.chop(1);
            pending = std::move(line);
            continue;
        }
        lines.push_back(line);
    }
    if (!pending.isEmpty())
        lines.push_back(pending);

    RegFile file;
    // Paths and names match without regard to case. They are looked up by index: searching the
    // list for every line would take hours for a file of some megabytes.
    QHash<QByteArray, size_t> sectionIndex;
    std::vector<QHash<QByteArray, size_t>> valueIndex;
    bool header = false;
    RegSection *section = nullptr;
    QHash<QByteArray, size_t> *values = nullptr;
    bool deletedSection = false;
    for (const QByteArray &rawLine : lines) {
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (!header) {
            if (line != "REGEDIT4" && line != "Windows Registry Editor Version 5.00")
                return std::nullopt;
            header = true;
            continue;
        }
        if (line.startsWith('[')) {
            if (!line.endsWith(']') || line.size() < 3)
                return std::nullopt;
            QByteArray path = line.mid(1, line.size() - 2);
            deletedSection = path.startsWith('-');
            if (deletedSection) {
                section = nullptr;
                continue;
            }
            const QByteArray key = path.toLower();
            if (!sectionIndex.contains(key)) {
                sectionIndex.insert(key, file.Sections.size());
                file.Sections.push_back({path, {}});
                valueIndex.emplace_back();
            }
            section = &file.Sections[sectionIndex.value(key)];
            values = &valueIndex[sectionIndex.value(key)];
            continue;
        }
        if (!section) {
            if (deletedSection)
                continue;
            return std::nullopt;
        }
        // A value deleted on import ("Name"=-) is simply absent here.
        if (line.endsWith("=-")) {
            qsizetype pos = 0;
            if (line.startsWith('"') && quoted(line, pos) && line.mid(pos).trimmed() == "=-")
                continue;
        }
        auto value = valueLine(line);
        if (!value)
            return std::nullopt;
        // A name given again replaces the value, where it stood first.
        const QByteArray key = value->Name.toLower();
        if (const auto found = values->constFind(key); found != values->cend()) {
            section->Values[*found] = std::move(*value);
        } else {
            values->insert(key, section->Values.size());
            section->Values.push_back(std::move(*value));
        }
    }
    if (!header)
        return std::nullopt;
    return file;
}

QByteArray RegFile::Serialize() const
{
    QByteArray out = "REGEDIT4\r\n";
    for (const RegSection &section : Sections) {
        out += "\r\n[" + section.Path + "]\r\n";
        for (const RegValue &value : section.Values) {
            const QByteArray name = value.Name.isEmpty() ? QByteArray("@") : '"' + escaped(value.Name) + '"';
            if (quotable(value)) {
                out += name + "=\"" + escaped(value.Data.chopped(1)) + "\"\r\n";
            } else if (value.Type == REG_DWORD && value.Data.size() == 4) {
                uint32_t number = 0;
                for (int i = 3; i >= 0; --i)
                    number = (number << 8) | uchar(value.Data[i]);
                char digits[9];
                std::snprintf(digits, sizeof digits, "%08x", number);
                out += name + "=dword:" + digits + "\r\n";
            } else {
                const QByteArray prefix = value.Type == REG_BINARY
                                              ? QByteArray("=hex:")
                                              : "=hex(" + QByteArray::number(value.Type, 16) + "):";
                out += hexText(name + prefix, value.Data) + "\r\n";
            }
        }
    }
    out += "\r\n";
    return out;
}
