#include "platform/Sound.h"

#include "platform/WaveFile.h"

#include <QByteArray>
#include <QFile>
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

// How it works. The user-interface thread asks for plays. A file play is handed to a loader
// thread, which reads and decodes the file and then starts it; a built-in sound is started on
// the calling thread, which waits for its end. SDL's audio thread pulls the sound that is playing
// through a converter to the device's format, a little at a time, in its callback. Every play
// takes a new number; whatever belongs to an older number is dropped, which is how a new play
// stops the one still sounding. The device is opened when a sound starts and closed by the
// loader thread after a few seconds of silence.
//
// Locks: m_deviceMutex guards opening and closing the device and is never taken by the audio
// callback; m_mutex guards everything the callback touches. Whoever needs both takes
// m_deviceMutex first, and nobody closes the device while holding m_mutex, since closing waits
// for a callback that may be waiting for m_mutex.

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

std::atomic<int> g_idleCloseMs{3000};

// The output we ask for; the device may give another, and each sound is converted to what it gives.
constexpr int OutputRate = 48000;
constexpr Uint8 OutputChannels = 2;
constexpr Uint16 OutputFrames = 1024; // about 21 ms a callback
// Sample frames of a sound handed to its converter at a time.
constexpr Uint32 FeedFrames = 4096;
// A built-in sound waits at most this much longer than its length for a device that has stalled.
constexpr Milliseconds StallAllowance{1000};
// After the device could not be opened, it is tried again no sooner than this.
constexpr Milliseconds RetryAfter{3000};
// At shutdown the loader gets this long to finish; one stuck on a hung file system is left behind.
constexpr Milliseconds LoaderGrace{500};

// The decoded samples of one sound, in its own format.
struct Clip
{
    std::string label;
    SDL_AudioSpec spec{};
    Uint8 *samples = nullptr;
    Uint32 length = 0; // bytes, whole sample frames

    Clip() = default;
    Clip(const Clip &) = delete;
    Clip &operator=(const Clip &) = delete;
    ~Clip() { SDL_FreeWAV(samples); }

    Uint32 FrameBytes() const { return SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels; }
    Clock::duration Length() const
    {
        const double seconds = double(length / FrameBytes()) / spec.freq;
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    }
};

using ClipPtr = std::shared_ptr<const Clip>;

// The decoder's view of a sound: the new header, then the samples read straight from where they
// lie. The decoder trusts the sizes it reads, and so allocates no more than what is really there.
struct WaveSource
{
    WaveLayout layout;
    WaveReader read;
    uint64_t position = 0;

    uint64_t Size() const { return layout.header.size() + layout.dataBytes; }
    static WaveSource &Of(SDL_RWops *rw) { return *static_cast<WaveSource *>(rw->hidden.unknown.data1); }

    static Sint64 SDLCALL RwSize(SDL_RWops *rw) { return Sint64(Of(rw).Size()); }
    static Sint64 SDLCALL RwSeek(SDL_RWops *rw, Sint64 offset, int whence)
    {
        WaveSource &s = Of(rw);
        const Sint64 base = whence == RW_SEEK_SET ? 0 : whence == RW_SEEK_CUR ? Sint64(s.position) : Sint64(s.Size());
        if (base + offset < 0)
            return SDL_SetError("Seek before the start");
        s.position = uint64_t(base + offset);
        return Sint64(s.position);
    }
    static size_t SDLCALL RwRead(SDL_RWops *rw, void *buffer, size_t size, size_t count)
    {
        WaveSource &s = Of(rw);
        if (size == 0 || count == 0 || s.position >= s.Size())
            return 0;
        const uint64_t asked = uint64_t(std::min(count, SIZE_MAX / size)) * size;
        const uint64_t wanted = std::min<uint64_t>(asked, s.Size() - s.position);
        auto *out = static_cast<unsigned char *>(buffer);
        const uint64_t headerBytes = s.layout.header.size();
        uint64_t done = 0;
        if (s.position < headerBytes) {
            done = std::min(wanted, headerBytes - s.position);
            std::memcpy(out, s.layout.header.data() + s.position, size_t(done));
        }
        if (done < wanted)
            done += s.read(s.layout.dataAt + (s.position + done - headerBytes), out + done, size_t(wanted - done));
        s.position += done;
        return size_t(done / size);
    }
    static size_t SDLCALL RwWrite(SDL_RWops *, const void *, size_t, size_t)
    {
        SDL_SetError("Read-only");
        return 0;
    }
    static int SDLCALL RwClose(SDL_RWops *rw)
    {
        SDL_FreeRW(rw);
        return 0;
    }
};

// Decodes a WAV file of `size` bytes; nothing when it holds no sound that can be played.
ClipPtr Decode(const WaveReader &read, uint64_t size, std::string label)
{
    std::optional<WaveLayout> layout = LayOutWave(read, size);
    if (!layout)
        return nullptr;
    WaveSource source{std::move(*layout), read};
    auto clip = std::make_shared<Clip>();
    clip->label = std::move(label);
    SDL_RWops *rw = SDL_AllocRW();
    if (!rw)
        return nullptr;
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->size = &WaveSource::RwSize;
    rw->seek = &WaveSource::RwSeek;
    rw->read = &WaveSource::RwRead;
    rw->write = &WaveSource::RwWrite;
    rw->close = &WaveSource::RwClose;
    rw->hidden.unknown.data1 = &source;
    if (!SDL_LoadWAV_RW(rw, 1, &clip->spec, &clip->samples, &clip->length))
        return nullptr;
    const Uint32 frame = clip->FrameBytes();
    if (frame == 0 || clip->spec.freq <= 0 || clip->length < frame)
        return nullptr;
    clip->length -= clip->length % frame;
    return clip;
}

ClipPtr LoadBuiltIn(const char *name, const char *label)
{
    QFile file(QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.readAll();
    const WaveReader read = [&bytes](uint64_t offset, unsigned char *buffer, std::size_t n) -> std::size_t {
        if (offset >= uint64_t(bytes.size()))
            return 0;
        n = std::min<std::size_t>(n, std::size_t(uint64_t(bytes.size()) - offset));
        std::memcpy(buffer, bytes.constData() + offset, n);
        return n;
    };
    return Decode(read, uint64_t(bytes.size()), label);
}

// Loads a regular file no larger than MaxWaveFileBytes. Nothing else is even opened: opening a
// FIFO or a device can block or have effects of its own.
ClipPtr LoadFile(const std::string &path)
{
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)
        || info.st_size > off_t(MaxWaveFileBytes))
        return nullptr;
    struct File
    {
        const int fd;
        ~File()
        {
            if (fd >= 0)
                close(fd);
        }
    } file{open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    // It may have been replaced since the look above.
    if (file.fd < 0 || fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)
        || info.st_size > off_t(MaxWaveFileBytes))
        return nullptr;
    const WaveReader read = [fd = file.fd](uint64_t offset, unsigned char *buffer, std::size_t n) {
        std::size_t done = 0;
        while (done < n) {
            const ssize_t got = pread(fd, buffer + done, n - done, off_t(offset + done));
            if (got > 0)
                done += std::size_t(got);
            else if (got == 0 || errno != EINTR)
                break;
        }
        return done;
    };
    return Decode(read, uint64_t(info.st_size), "file");
}

// One sound on its way to the device: its clip, how much of it has gone into its converter, and
// the converter to the device's format.
struct Voice
{
    Voice(uint64_t play, ClipPtr clip, SDL_AudioStream *stream, const SDL_AudioSpec &output)
        : play(play), clip(std::move(clip)), stream(stream)
    {
        const Clip &c = *this->clip;
        const uint64_t frames = c.length / c.FrameBytes();
        const uint64_t rate = uint64_t(c.spec.freq);
        const uint64_t outputFrames = (frames * uint64_t(output.freq) + rate - 1) / rate;
        m_left = outputFrames * (SDL_AUDIO_BITSIZE(output.format) / 8) * output.channels;
        m_silence.assign(std::size_t(PadFrames) * c.FrameBytes(), c.spec.format == AUDIO_U8 ? 0x80 : 0);
    }
    Voice(const Voice &) = delete;
    Voice &operator=(const Voice &) = delete;
    ~Voice() { SDL_FreeAudioStream(stream); }

    // Fills out with as much of the sound as is left; returns the bytes written.
    int Render(Uint8 *out, int length)
    {
        int written = 0;
        while (written < length && !ended) {
            if (m_left == 0) {
                ended = true;
                break;
            }
            const int wanted = int(std::min<uint64_t>(uint64_t(length - written), m_left));
            const int got = SDL_AudioStreamGet(stream, out + written, wanted);
            if (got > 0) {
                written += got;
                m_left -= uint64_t(got);
            } else if (got < 0) {
                ended = true;
            } else if (m_fed < clip->length) {
                const Uint32 n = std::min(clip->length - m_fed, FeedFrames * clip->FrameBytes());
                if (SDL_AudioStreamPut(stream, clip->samples + m_fed, int(n)) != 0)
                    ended = true;
                m_fed += n;
            } else if (m_padded < MaxPadFrames) {
                // The resampler holds back the last few hundred frames until more input comes,
                // and flushing does not always give them up; silence after the end pushes them
                // out, and the count of frames due says where the sound ends.
                if (SDL_AudioStreamPut(stream, m_silence.data(), int(m_silence.size())) != 0)
                    ended = true;
                m_padded += PadFrames;
            } else if (!m_flushed) {
                SDL_AudioStreamFlush(stream);
                m_flushed = true;
            } else {
                ended = true;
            }
        }
        return written;
    }

    const uint64_t play;
    const ClipPtr clip;
    SDL_AudioStream *const stream;
    bool ended = false;

private:
    static constexpr Uint32 PadFrames = 1024;
    static constexpr Uint32 MaxPadFrames = 8 * PadFrames;

    uint64_t m_left;     // bytes of output still due
    Uint32 m_fed = 0;    // bytes of the clip given to the converter
    Uint32 m_padded = 0; // frames of silence given after them
    bool m_flushed = false;
    std::vector<Uint8> m_silence;
};

extern "C" void QuietAlsaError(const char *, int, const char *, int, const char *, ...) {}

void QuietLog(void *, int, SDL_LogPriority, const char *) {}

// Once per process, before SDL's audio starts: SDL must leave the program's signal handlers
// alone, and neither SDL nor ALSA may print to the terminal.
void PrepareSdl()
{
    static std::once_flag once;
    std::call_once(once, [] {
        SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Tarniva");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "event");
        SDL_LogSetOutputFunction(&QuietLog, nullptr);
        // ALSA reports a missing card on stderr unless it has a handler of its own. SDL loads
        // the same library later and shares the handler; it stays loaded for that reason.
        const char *drivers = std::getenv("SDL_AUDIODRIVER");
        if (drivers && *drivers && !std::strstr(drivers, "alsa"))
            return;
        if (void *alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL)) {
            using Handler = void (*)(const char *, int, const char *, int, const char *, ...);
            if (auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler")))
                set(&QuietAlsaError);
        }
    });
}

class Service : public std::enable_shared_from_this<Service>
{
public:
    Service()
    {
        m_builtIns["BADGE"] = LoadBuiltIn("BADGE", "BADGE");
        m_builtIns["WUPPER"] = LoadBuiltIn("WUPPER", "WUPPER");
        m_default = LoadBuiltIn("DEFAULT", "default");
    }

    bool PlayFile(const std::string &name)
    {
        std::unique_ptr<Voice> stopped;
        {
            std::lock_guard lock(m_mutex);
            stopped = NewPlay();
            m_pendingFile = name;
            StartLoader();
        }
        m_changed.notify_all();
        return true;
    }

    bool PlayResource(const std::string &name)
    {
        std::string key = name;
        for (char &c : key)
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A'); // resource names ignore case
        const auto found = m_builtIns.find(key);
        const bool known = found != m_builtIns.end() && found->second;
        const ClipPtr clip = known ? found->second : m_default;

        const auto start = Clock::now();
        uint64_t play;
        std::unique_ptr<Voice> stopped;
        {
            std::lock_guard lock(m_mutex);
            stopped = NewPlay();
            m_pendingFile.reset();
            play = m_play;
            StartLoader();
        }
        stopped.reset();
        if (!clip)
            return known;

        if (Start(clip, play)) {
            std::unique_lock lock(m_mutex);
            const auto playing = [&] { return m_voice && m_voice->play == play; };
            m_changed.wait_until(lock, start + clip->Length() + StallAllowance, [&] { return !playing(); });
            if (playing()) {
                stopped = std::move(m_voice);
                m_quietSince = Clock::now();
            }
        } else {
            // Without a device the caller still waits as long as the sound would have lasted.
            std::this_thread::sleep_until(start + clip->Length());
        }
        return known;
    }

    void Stop()
    {
        std::unique_ptr<Voice> stopped;
        {
            std::lock_guard device(m_deviceMutex);
            {
                std::lock_guard lock(m_mutex);
                m_stopping = true;
                stopped = NewPlay();
                m_pendingFile.reset();
            }
            m_changed.notify_all();
            CloseDevice();
        }
        std::unique_lock lock(m_mutex);
        const bool finished = m_changed.wait_for(lock, LoaderGrace, [this] { return m_loaderDone; });
        std::thread loader = std::move(m_loader);
        std::vector<std::unique_ptr<Voice>> retired = std::move(m_retired);
        lock.unlock();
        if (loader.joinable()) {
            // A loader stuck in a read keeps its own reference to the service; the process may
            // end under it.
            if (finished)
                loader.join();
            else
                loader.detach();
        }
        SDL_TLSCleanup();
    }

    SoundStatus Status()
    {
        std::lock_guard lock(m_mutex);
        SoundStatus status;
        status.deviceOpen = m_deviceOpen;
        status.sounding = m_voice != nullptr;
        status.last = m_last;
        if (m_deviceOpen) {
            status.outputFormat = m_output.format;
            status.outputChannels = m_output.channels;
            status.outputRate = m_output.freq;
        }
        return status;
    }

    bool WaitForLoader(int timeoutMs)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, Milliseconds(timeoutMs), [this] { return !m_pendingFile && !m_loading; });
    }

private:
    // A new play stops the sound still playing. Called with m_mutex held; the stopped voice is
    // for the caller to free outside the lock.
    std::unique_ptr<Voice> NewPlay()
    {
        ++m_play;
        if (m_voice)
            m_quietSince = Clock::now();
        return std::move(m_voice);
    }

    // Called with m_mutex held.
    void StartLoader()
    {
        if (m_loader.joinable() || m_stopping)
            return;
        m_loaderDone = false;
        m_loader = std::thread([self = shared_from_this()] { self->RunLoader(); });
    }

    void RunLoader()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stopping) {
            if (!m_retired.empty()) {
                auto retired = std::move(m_retired);
                m_retired.clear();
                lock.unlock();
                retired.clear();
                lock.lock();
                continue;
            }
            if (m_pendingFile) {
                const std::string name = std::move(*m_pendingFile);
                m_pendingFile.reset();
                const uint64_t play = m_play;
                m_loading = true;
                lock.unlock();
                ClipPtr clip;
                try {
                    clip = LoadFile(name);
                } catch (...) {
                    // Out of memory: the file cannot be played.
                }
                if (clip || m_default)
                    Start(clip ? clip : m_default, play);
                clip.reset();
                lock.lock();
                m_loading = false;
                m_changed.notify_all();
                continue;
            }
            if (m_deviceOpen && !m_voice) {
                const auto closeAt = m_quietSince + Milliseconds(g_idleCloseMs.load());
                if (Clock::now() >= closeAt) {
                    lock.unlock();
                    CloseIfIdle();
                    lock.lock();
                    continue;
                }
                m_changed.wait_until(lock, closeAt);
            } else {
                m_changed.wait(lock);
            }
        }
        m_loaderDone = true;
        m_changed.notify_all();
        lock.unlock();
        SDL_TLSCleanup(); // SDL keeps its error text per thread, and only frees it for its own threads
    }

    // Starts a clip on the device unless a newer play has come. Returns whether it sounds.
    bool Start(ClipPtr clip, uint64_t play)
    {
        std::lock_guard device(m_deviceMutex);
        {
            std::lock_guard lock(m_mutex);
            if (play != m_play || m_stopping)
                return false;
        }
        SDL_AudioStream *stream = nullptr;
        if (OpenDevice()) {
            const auto convert = [this](const Clip &c) {
                return SDL_NewAudioStream(c.spec.format, c.spec.channels, c.spec.freq, m_output.format,
                                          m_output.channels, m_output.freq);
            };
            stream = convert(*clip);
            if (!stream && m_default && clip != m_default) {
                // A layout the converter does not take: the file cannot be played here.
                clip = m_default;
                stream = convert(*clip);
            }
        }
        auto voice = stream ? std::make_unique<Voice>(play, clip, stream, m_output) : nullptr;
        std::unique_ptr<Voice> stopped;
        {
            std::lock_guard lock(m_mutex);
            if (play != m_play)
                return false;
            m_last = clip->label;
            if (!voice)
                return false;
            stopped = std::exchange(m_voice, std::move(voice));
        }
        return true;
    }

    // Called with m_deviceMutex held.
    bool OpenDevice()
    {
        if (m_device)
            return true;
        const auto now = Clock::now();
        if (now < m_retryAt)
            return false;
        PrepareSdl();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            m_retryAt = now + RetryAfter;
            return false;
        }
        SDL_AudioSpec want{};
        want.freq = OutputRate;
        want.format = AUDIO_F32SYS;
        want.channels = OutputChannels;
        want.samples = OutputFrames;
        want.callback = &Service::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_ANY_CHANGE);
        if (!m_device) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            m_retryAt = now + RetryAfter;
            return false;
        }
        {
            std::lock_guard lock(m_mutex);
            m_output = have;
            m_deviceOpen = true;
            m_quietSince = Clock::now();
        }
        m_changed.notify_all();
        SDL_PauseAudioDevice(m_device, 0);
        return true;
    }

    // Called with m_deviceMutex held and m_mutex not.
    void CloseDevice()
    {
        if (!m_device)
            return;
        std::unique_ptr<Voice> stopped;
        {
            std::lock_guard lock(m_mutex);
            m_deviceOpen = false;
            stopped = std::move(m_voice);
        }
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void CloseIfIdle()
    {
        std::lock_guard device(m_deviceMutex);
        {
            std::lock_guard lock(m_mutex);
            if (m_voice || m_pendingFile || Clock::now() < m_quietSince + Milliseconds(g_idleCloseMs.load()))
                return;
        }
        CloseDevice();
    }

    static void SDLCALL Callback(void *self, Uint8 *out, int length)
    {
        static_cast<Service *>(self)->Fill(out, length);
    }

    // On SDL's audio thread.
    void Fill(Uint8 *out, int length)
    {
        std::lock_guard lock(m_mutex);
        int written = 0;
        if (m_voice) {
            written = m_voice->Render(out, length);
            // The sound ends one callback after its last samples, once they have been played.
            if (written == 0 && m_voice->ended) {
                m_retired.push_back(std::move(m_voice));
                m_quietSince = Clock::now();
                m_changed.notify_all();
            }
        }
        std::memset(out + written, m_output.silence, std::size_t(length - written));
    }

    // Set in the constructor, read-only after.
    std::map<std::string, ClipPtr> m_builtIns;
    ClipPtr m_default;

    // Used on the user-interface thread only.
    std::thread m_loader;

    std::mutex m_deviceMutex;
    SDL_AudioDeviceID m_device = 0;
    Clock::time_point m_retryAt;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    uint64_t m_play = 0; // number of the latest play
    std::unique_ptr<Voice> m_voice;
    std::vector<std::unique_ptr<Voice>> m_retired; // ended on the audio thread, freed by the loader
    std::optional<std::string> m_pendingFile;
    bool m_loading = false;
    bool m_stopping = false;
    bool m_loaderDone = true;
    bool m_deviceOpen = false;
    SDL_AudioSpec m_output{};
    Clock::time_point m_quietSince;
    std::string m_last;
};

// The service lives from the first play to ShutdownSound or the end of the program.
struct ServiceHolder
{
    std::shared_ptr<Service> service;
    ~ServiceHolder()
    {
        if (service)
            service->Stop();
    }
} g_holder;

Service &TheService()
{
    if (!g_holder.service)
        g_holder.service = std::make_shared<Service>();
    return *g_holder.service;
}

} // namespace

namespace {
std::function<void(const std::string &, unsigned)> requestRecorder;
}

void SetSoundRequestRecorder(std::function<void(const std::string &, unsigned)> recorder)
{
    requestRecorder = std::move(recorder);
}

bool PlaySound(const std::string &name, unsigned flags)
{
    if (requestRecorder)
        requestRecorder(name, flags);
    // Sound is never worth an error box.
    try {
        if ((flags & SND_RESOURCE) == SND_RESOURCE)
            return TheService().PlayResource(name);
        return TheService().PlayFile(name);
    } catch (...) {
        return false;
    }
}

void ShutdownSound()
{
    if (auto service = std::exchange(g_holder.service, nullptr))
        service->Stop();
}

std::size_t DecodeWaveForTesting(const unsigned char *data, std::size_t size)
{
    const WaveReader read = [data, size](uint64_t offset, unsigned char *buffer, std::size_t n) -> std::size_t {
        if (offset >= size)
            return 0;
        const std::size_t count = std::min<std::size_t>(n, size - std::size_t(offset));
        std::memcpy(buffer, data + offset, count);
        return count;
    };
    const ClipPtr clip = Decode(read, size, "file");
    if (!clip)
        return 0;
    SDL_AudioStream *stream = SDL_NewAudioStream(clip->spec.format, clip->spec.channels, clip->spec.freq,
                                                 AUDIO_F32SYS, OutputChannels, OutputRate);
    if (!stream)
        return 0;
    std::size_t frames = 0;
    if (SDL_AudioStreamPut(stream, clip->samples, int(clip->length)) == 0 && SDL_AudioStreamFlush(stream) == 0) {
        float out[1024];
        for (int got; (got = SDL_AudioStreamGet(stream, out, sizeof out)) > 0;)
            frames += std::size_t(got) / (sizeof(float) * OutputChannels);
    }
    SDL_FreeAudioStream(stream);
    return frames;
}

SoundStatus SoundStatusForTesting()
{
    return g_holder.service ? g_holder.service->Status() : SoundStatus();
}

bool WaitForSoundLoaderForTesting(int timeoutMs)
{
    return !g_holder.service || g_holder.service->WaitForLoader(timeoutMs);
}

void SetSoundIdleCloseForTesting(int milliseconds)
{
    g_idleCloseMs = milliseconds;
}
