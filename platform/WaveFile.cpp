#include "platform/WaveFile.h"

#include <algorithm>
#include <cstring>

namespace {

enum FormatTag : uint16_t {
    Pcm = 0x0001,
    MsAdpcm = 0x0002,
    IeeeFloat = 0x0003,
    ALaw = 0x0006,
    MuLaw = 0x0007,
    ImaAdpcm = 0x0011,
    Extensible = 0xFFFE,
};

// Larger format chunks exist only in damaged files; the largest we decode is MS ADPCM's 50 bytes.
constexpr uint32_t MaxFormatBytes = 1024;
// The decoder gives up after as many chunks; so do we.
constexpr int MaxChunks = 10000;
// Sample rates beyond this only come from damaged files and would keep the resampler busy.
constexpr uint32_t MaxSampleRate = 1'000'000;
// The audio converter takes up to eight channels.
constexpr unsigned MaxChannels = 8;

uint16_t Get16(const unsigned char *p)
{
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t Get32(const unsigned char *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void Append32(std::vector<unsigned char> &out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void Append(std::vector<unsigned char> &out, const char *fourcc)
{
    out.insert(out.end(), fourcc, fourcc + 4);
}

} // namespace

std::optional<WaveLayout> LayOutWave(const WaveReader &read, uint64_t fileSize)
{
    unsigned char head[12];
    if (fileSize < 12 || read(0, head, 12) != 12 || std::memcmp(head, "RIFF", 4) != 0
        || std::memcmp(head + 8, "WAVE", 4) != 0)
        return std::nullopt;

    // The RIFF size is often wrong; the chunks are walked up to the end of the file instead.
    std::vector<unsigned char> format;
    uint64_t dataAt = 0, dataBytes = 0;
    bool haveFormat = false, haveData = false;
    uint64_t at = 12;
    for (int chunks = 0; chunks < MaxChunks && at + 8 <= fileSize && !(haveFormat && haveData); ++chunks) {
        unsigned char chunk[8];
        if (read(at, chunk, 8) != 8)
            break;
        const uint32_t claimed = Get32(chunk + 4);
        const uint64_t body = at + 8;
        const uint64_t present = std::min<uint64_t>(claimed, fileSize - body);
        if (!haveFormat && std::memcmp(chunk, "fmt ", 4) == 0) {
            if (present != claimed || claimed < 14 || claimed > MaxFormatBytes)
                return std::nullopt;
            format.resize(claimed);
            if (read(body, format.data(), claimed) != claimed)
                return std::nullopt;
            haveFormat = true;
        } else if (!haveData && std::memcmp(chunk, "data", 4) == 0) {
            if (claimed > MaxWaveFileBytes)
                return std::nullopt;
            dataAt = body;
            dataBytes = present;
            haveData = true;
        }
        at = body + claimed + (claimed & 1); // chunks are word-aligned
    }
    if (!haveFormat || !haveData)
        return std::nullopt;

    uint16_t tag = Get16(format.data());
    const unsigned channels = Get16(format.data() + 2);
    const uint32_t rate = Get32(format.data() + 4);
    const unsigned blockAlign = Get16(format.data() + 12);
    const unsigned bits = format.size() >= 16 ? Get16(format.data() + 14) : 0;
    if (tag == Extensible && format.size() >= 40)
        tag = Get16(format.data() + 24); // the first two bytes of the sub-format GUID
    if (channels < 1 || channels > MaxChannels || rate < 1 || rate > MaxSampleRate || blockAlign < 1)
        return std::nullopt;

    // The decoder reads the data into memory and decodes it there: plain samples stay as they
    // are, 24-bit ones grow to 32 bits and companded bytes to 16-bit samples, each in a buffer
    // reallocated from the first; ADPCM decodes into a second buffer, a little under four bytes
    // for each byte.
    uint64_t maxData = MaxWaveMemoryBytes;
    bool wholeBlocks = true;
    switch (tag) {
    case Pcm:
        if (bits == 24)
            maxData = MaxWaveMemoryBytes * 3 / 7;
        break;
    case IeeeFloat:
        break;
    case ALaw:
    case MuLaw:
        maxData = MaxWaveMemoryBytes / 3;
        break;
    case MsAdpcm:
    case ImaAdpcm:
        maxData = MaxWaveMemoryBytes / 5;
        // The decoder makes what it can of a last block cut short.
        wholeBlocks = dataBytes > maxData;
        break;
    default:
        return std::nullopt;
    }
    dataBytes = std::min(dataBytes, maxData);
    if (wholeBlocks)
        dataBytes -= dataBytes % blockAlign;

    WaveLayout layout;
    std::vector<unsigned char> &h = layout.header;
    const uint32_t formatBytes = uint32_t(format.size());
    const uint32_t formatPad = formatBytes & 1;
    Append(h, "RIFF");
    Append32(h, uint32_t(4 + 8 + formatBytes + formatPad + 8 + dataBytes));
    Append(h, "WAVE");
    Append(h, "fmt ");
    Append32(h, formatBytes);
    h.insert(h.end(), format.begin(), format.end());
    if (formatPad)
        h.push_back(0);
    Append(h, "data");
    Append32(h, uint32_t(dataBytes));
    layout.dataAt = dataAt;
    layout.dataBytes = uint32_t(dataBytes);
    return layout;
}
