#pragma once

#include <string>

// The system's sound service, in the two ways the program plays:
//   PlaySound(fileName, SND_FILENAME | SND_ASYNC)  the named WAV file, in the background; returns at once
//   PlaySound(resourceName, SND_RESOURCE)          a built-in sound ("BADGE", "WUPPER"), to its end
// A new play stops a sound of this program that is still playing. What cannot be played (an empty
// name, a missing file, a folder, a file that is no WAV) sounds the default sound instead. Without
// an audio device every play is silent. Nothing is reported.
constexpr unsigned SND_ASYNC = 0x0001;
constexpr unsigned SND_FILENAME = 0x00020000;
constexpr unsigned SND_RESOURCE = 0x00040004;

bool PlaySound(const std::string &name, unsigned flags);
