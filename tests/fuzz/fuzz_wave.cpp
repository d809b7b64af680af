// Any bytes as a sound file: from the file to the device's samples, the way a file play takes.
// Nothing may crash, leak, hang or hold more memory than the sound limit.
#include "platform/Sound.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    DecodeWaveForTesting(data, size);
    return 0;
}
