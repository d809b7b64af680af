#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// A sound file larger than this is refused unread, and so is a data chunk that claims more.
constexpr std::size_t MaxWaveFileBytes = std::size_t(64) << 20;
// What decoding one sound may hold at once: the encoded samples and what they decode to. A sound
// that would need more is cut short.
constexpr std::size_t MaxWaveMemoryBytes = std::size_t(64) << 20;

// Reads up to n bytes at offset into buffer and returns how many it read.
using WaveReader = std::function<std::size_t(std::uint64_t offset, unsigned char *buffer, std::size_t n)>;

// The RIFF/WAVE file the decoder is given in place of the one on disk: a new header (the RIFF
// header, the format chunk and the data chunk's header, every size true to the bytes there),
// followed by dataBytes of the original file from dataAt. Other chunks are left out.
struct WaveLayout
{
    std::vector<unsigned char> header;
    std::uint64_t dataAt = 0;
    std::uint32_t dataBytes = 0;
};

// Finds the format and data chunks of a file of fileSize bytes, reading only the chunk headers
// and the format. A data chunk cut short by the end of the file keeps what is there, in whole
// sample frames. Gives nothing when the file is no RIFF/WAVE file, lacks a format or a data
// chunk, claims more data than MaxWaveFileBytes, or holds a format the decoder does not read.
std::optional<WaveLayout> LayOutWave(const WaveReader &read, std::uint64_t fileSize);
