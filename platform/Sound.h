#pragma once

#include <cstddef>
#include <functional>
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

// Called on the user-interface thread. A file always plays in the background, whatever the flags
// say; a built-in sound always to its end. Returns false only when a built-in sound of that name
// does not exist (the default sound plays instead).
bool PlaySound(const std::string &name, unsigned flags);

// Stops any sound, closes the audio device and ends the background loader. It also runs by itself
// when the program ends; a later play starts the service afresh.
void ShutdownSound();

// For tests: every play asked for, before it is carried out.
void SetSoundRequestRecorder(std::function<void(const std::string &name, unsigned flags)> recorder);

// For the fuzz target: the way from a file's bytes to the device's samples, without a device. Lays
// the bytes out, decodes them and converts them to the output format; returns the frames made,
// 0 when the bytes hold no sound that plays.
std::size_t DecodeWaveForTesting(const unsigned char *data, std::size_t size);

struct SoundStatus
{
    bool deviceOpen = false; // an audio device is open
    bool sounding = false;   // a sound is being played on it
    std::string last;        // what the latest play chose: "BADGE", "WUPPER", "file", "default" or ""
    // The open device's sample format (an SDL_AudioFormat), channels and rate.
    unsigned outputFormat = 0;
    int outputChannels = 0;
    int outputRate = 0;
};
SoundStatus SoundStatusForTesting();
// Waits until the file plays asked for so far have been loaded and started, or found unplayable.
// Returns false if that takes longer than the timeout.
bool WaitForSoundLoaderForTesting(int timeoutMs);
// The silence after which the audio device is closed, 3000 ms unless a test sets another.
void SetSoundIdleCloseForTesting(int milliseconds);
