// Any bytes as a store file. The reader must never misbehave, and what it reads must be written
// and read back to the very same values. The same bytes, taken as a list of values the program
// might store, must survive writing and reading too.
#include "platform/RegFile.h"

#include <QHash>
#include <QList>

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

[[noreturn]] void fail(const char *what, const QByteArray &written)
{
    std::fprintf(stderr, "store file: %s\n--- written ---\n%s\n---\n", what, written.constData());
    std::abort();
}

bool sameValues(const RegSection &a, const RegSection &b)
{
    if (a.Path != b.Path || a.Values.size() != b.Values.size())
        return false;
    for (size_t i = 0; i < a.Values.size(); ++i) {
        const RegValue &x = a.Values[i], &y = b.Values[i];
        if (x.Name != y.Name || x.Type != y.Type || x.Data != y.Data)
            return false;
    }
    return true;
}

void roundTrip(const RegFile &file)
{
    const QByteArray written = file.Serialize();
    const auto back = RegFile::Parse(written);
    if (!back)
        fail("what was written does not read back", written);
    if (back->Sections.size() != file.Sections.size())
        fail("sections differ after reading back", written);
    for (size_t i = 0; i < file.Sections.size(); ++i)
        if (!sameValues(file.Sections[i], back->Sections[i]))
            fail("values differ after reading back", written);
    if (back->Serialize() != written)
        fail("writing again gives other bytes", written);
}

// Values separated by 0x1E; in each, the name ends at 0x1F and the next byte picks the type.
// A name never holds a line break (no store file can carry one); anything else goes.
RegFile valuesFrom(const QByteArray &bytes)
{
    static const uint32_t types[] = {REG_SZ, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_NONE, 0x12345678};
    RegFile file;
    file.Sections.push_back({"HKEY_CURRENT_USER\\Software\\Orsolen\\Lights", {}});
    std::vector<RegValue> &values = file.Sections.back().Values;
    QHash<QByteArray, size_t> index; // as Set does, one value a name in any case, but quicker
    for (const QByteArray &record : bytes.split('\x1e')) {
        const qsizetype end = record.indexOf('\x1f');
        QByteArray name = end < 0 ? record : record.left(end);
        name.replace('\n', ' ');
        QByteArray data = end < 0 ? QByteArray() : record.mid(end + 1);
        uint32_t type = REG_SZ;
        if (!data.isEmpty()) {
            const uchar pick = uchar(data[0]);
            data.remove(0, 1);
            type = types[pick % std::size(types)];
            if (pick % std::size(types) == 0)
                data += '\0'; // a text as the program writes it
        }
        const QByteArray key = name.toLower();
        if (index.contains(key)) {
            values[index.value(key)] = {name, type, data};
        } else {
            index.insert(key, values.size());
            values.push_back({name, type, data});
        }
    }
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto file = RegFile::Parse(bytes)) {
        for (const RegSection &section : file->Sections)
            for (const RegValue &value : section.Values)
                if (section.Find(value.Name) != &value)
                    fail("a name is held twice", bytes);
        roundTrip(*file);
    }
    roundTrip(valuesFrom(bytes));
    return 0;
}
