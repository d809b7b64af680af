// The sound service on SDL's "disk" driver, which writes what the device plays to a file, and on
// its "dummy" driver; no test needs a sound card.
#include "TestSupport.h"

#include "platform/Sound.h"
#include "platform/WaveFile.h"

#include <QElapsedTimer>
#include <QProcess>
#include <SDL_audio.h>
#include <cmath>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int OutputRate = 48000; // what the service asks of the device; the disk driver grants it

void Put16(QByteArray &b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
void Put24(QByteArray &b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)).append(char((v >> 16) & 0xFF));
}
void Put32(QByteArray &b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}
quint32 Get32(const QByteArray &b, qsizetype at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
           | quint32(quint8(b[at + 3])) << 24;
}
int Get16(const QByteArray &b, qsizetype at)
{
    return quint8(b[at]) | quint8(b[at + 1]) << 8;
}

// A chunk whose size field says `claimed` (its true size unless given), padded to a word.
QByteArray Chunk(const char *id, const QByteArray &payload, qint64 claimed = -1)
{
    QByteArray b(id, 4);
    Put32(b, quint32(claimed < 0 ? payload.size() : claimed));
    b += payload;
    if (payload.size() % 2)
        b.append('\0');
    return b;
}

QByteArray Fmt(int tag, int channels, int rate, int bits, int blockAlign, const QByteArray &extension = {})
{
    QByteArray p;
    Put16(p, tag);
    Put16(p, channels);
    Put32(p, quint32(rate));
    Put32(p, quint32(rate) * quint32(blockAlign));
    Put16(p, blockAlign);
    Put16(p, bits);
    if (!extension.isEmpty()) {
        Put16(p, int(extension.size()));
        p += extension;
    }
    return Chunk("fmt ", p);
}

QByteArray Riff(const QByteArray &chunks, qint64 claimed = -1)
{
    QByteArray b("RIFF");
    Put32(b, quint32(claimed < 0 ? chunks.size() + 4 : claimed));
    return b + "WAVE" + chunks;
}

// 16-bit PCM holding one value in every sample.
QByteArray Constant16(int frames, int channels, int value)
{
    QByteArray data;
    for (int i = 0; i < frames * channels; ++i)
        Put16(data, value);
    return data;
}

QByteArray ConstantWave(double seconds, int value, int rate = OutputRate)
{
    return Riff(Fmt(1, 1, rate, 16, 2) + Chunk("data", Constant16(int(seconds * rate), 1, value)));
}

// The two G.711 expansions, as 16-bit values.
int ALawValue(quint8 a)
{
    a ^= 0x55;
    int magnitude = (a & 0x0F) << 4;
    const int segment = (a & 0x70) >> 4;
    magnitude += segment == 0 ? 8 : 0x108;
    if (segment > 1)
        magnitude <<= segment - 1;
    return (a & 0x80) ? magnitude : -magnitude;
}
int MuLawValue(quint8 u)
{
    u = quint8(~u);
    const int magnitude = ((((u & 0x0F) << 3) + 0x84) << ((u & 0x70) >> 4)) - 0x84;
    return (u & 0x80) ? -magnitude : magnitude;
}
// The code whose value comes nearest to `target`.
quint8 NearestCode(int (*value)(quint8), int target)
{
    int best = 0;
    for (int code = 1; code < 256; ++code)
        if (std::abs(value(quint8(code)) - target) < std::abs(value(quint8(best)) - target))
            best = code;
    return quint8(best);
}

// What the disk driver wrote: interleaved float samples.
struct Output
{
    std::vector<float> samples;
    int channels = 2;

    qsizetype Frames() const { return qsizetype(samples.size()) / channels; }
    float At(qsizetype frame, int channel) const { return samples[size_t(frame * channels + channel)]; }
    bool FrameNear(qsizetype frame, double value, double tolerance) const
    {
        for (int c = 0; c < channels; ++c)
            if (std::abs(At(frame, c) - value) > tolerance)
                return false;
        return true;
    }
    bool Silent(qsizetype frame) const { return FrameNear(frame, 0.0, 1e-4); }
    qsizetype LongestRun(double value, double tolerance) const
    {
        qsizetype best = 0, run = 0;
        for (qsizetype f = 0; f < Frames(); ++f) {
            run = FrameNear(f, value, tolerance) ? run + 1 : 0;
            best = std::max(best, run);
        }
        return best;
    }
    // Frames from the first that sounds to the last.
    qsizetype SoundingSpan() const
    {
        qsizetype first = 0, last = Frames() - 1;
        while (first <= last && Silent(first))
            ++first;
        while (last >= first && Silent(last))
            --last;
        return last - first + 1;
    }
};

} // namespace

class Sound : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> dir;

    QString Path(const QString &name) const { return dir->filePath(name); }
    QString Write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(Path(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
        return f.fileName();
    }
    static void UseDriver(const char *driver) { qputenv("SDL_AUDIODRIVER", driver); }

    // Plays a file and waits until it has sounded to its end.
    static SoundStatus PlayFileToEnd(const QString &path)
    {
        PlaySound(path.toStdString(), SND_FILENAME | SND_ASYNC);
        if (!WaitForSoundLoaderForTesting(3000))
            return {};
        const SoundStatus started = SoundStatusForTesting();
        QElapsedTimer timer;
        timer.start();
        while (SoundStatusForTesting().sounding && timer.elapsed() < 5000)
            QTest::qWait(10);
        return started;
    }

    // Ends the service, which flushes the disk driver's file, and reads that file.
    Output TakeOutput(const SoundStatus &status)
    {
        ShutdownSound();
        Output out;
        if (status.outputFormat != AUDIO_F32SYS || status.outputChannels < 1) {
            qWarning("the device runs in format %x with %d channels", status.outputFormat, status.outputChannels);
            return out;
        }
        out.channels = status.outputChannels;
        QFile f(Path("out.raw"));
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = f.readAll();
            out.samples.resize(size_t(bytes.size()) / sizeof(float));
            std::memcpy(out.samples.data(), bytes.constData(), out.samples.size() * sizeof(float));
        }
        return out;
    }

private slots:
    void init()
    {
        ShutdownSound();
        dir = std::make_unique<QTemporaryDir>();
        UseDriver("disk");
        qputenv("SDL_DISKAUDIOFILE", Path("out.raw").toLocal8Bit());
        SetSoundIdleCloseForTesting(3000);
    }
    void cleanup()
    {
        ShutdownSound();
        SetSoundIdleCloseForTesting(3000);
    }

    // The built-in sounds are stored whole in the program, each in its exact layout.
    void builtInSoundFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("dataBytes");  // -1: any
        QTest::addColumn<int>("totalBytes"); // -1: any
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<double>("shortest");
        QTest::addColumn<double>("longest");
        QTest::newRow("BADGE") << "BADGE" << 16 << 15232 << 15308 << QByteArrayList{"fmt ", "data", "LIST"} << 0.3 << 0.4;
        QTest::newRow("WUPPER") << "WUPPER" << 8 << 3243 << 3288 << QByteArrayList{"fmt ", "data"} << 0.12 << 0.18;
        QTest::newRow("default") << "DEFAULT" << 16 << -1 << -1 << QByteArrayList{"fmt ", "data"} << 0.1 << 0.2;
    }
    // The fuzz target's way from bytes to device samples decodes what a play decodes.
    void bytesToDeviceSamples()
    {
        QFile f(":/sounds/WUPPER.wav");
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray file = f.readAll();
        const auto *bytes = reinterpret_cast<const unsigned char *>(file.constData());
        // SDL's converter keeps back the last frames of a resampled stream (a play pads with
        // silence to get them); the rest comes out.
        const size_t frames = DecodeWaveForTesting(bytes, size_t(file.size()));
        const size_t expected = size_t(3243) * 48000 / 22050;
        QVERIFY2(frames > expected * 8 / 10 && frames <= expected, qPrintable(QString::number(frames)));
        QCOMPARE(DecodeWaveForTesting(bytes, 30), size_t(0));
    }

    void builtInSoundFiles()
    {
        QFETCH(QString, name);
        QFETCH(int, bits);
        QFETCH(int, dataBytes);
        QFETCH(int, totalBytes);
        QFETCH(QByteArrayList, chunks);
        QFETCH(double, shortest);
        QFETCH(double, longest);

        QFile f(":/sounds/" + name + ".wav");
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray file = f.readAll();
        if (totalBytes >= 0)
            QCOMPARE(file.size(), totalBytes);
        QCOMPARE(file.left(4), QByteArray("RIFF"));
        QCOMPARE(Get32(file, 4), quint32(file.size() - 8));
        QCOMPARE(file.mid(8, 4), QByteArray("WAVE"));

        // The chunks, each padded to a word, fill the file exactly.
        QByteArrayList ids;
        QByteArray fmt, data, list;
        qsizetype at = 12;
        while (at < file.size()) {
            QVERIFY(at + 8 <= file.size());
            const QByteArray id = file.mid(at, 4);
            const qsizetype size = Get32(file, at + 4);
            QVERIFY2(at + 8 + size + size % 2 <= file.size(), id.constData());
            const QByteArray body = file.mid(at + 8, size);
            if (id == "fmt ")
                fmt = body;
            else if (id == "data")
                data = body;
            else if (id == "LIST")
                list = body;
            if (size % 2)
                QCOMPARE(file[at + 8 + size], '\0');
            ids << id;
            at += 8 + size + size % 2;
        }
        QCOMPARE(at, file.size());
        QCOMPARE(ids, chunks);

        QCOMPARE(fmt.size(), 16);
        QCOMPARE(Get16(fmt, 0), 1);                  // PCM
        QCOMPARE(Get16(fmt, 2), 1);                  // mono
        QCOMPARE(Get32(fmt, 4), 22050u);             // samples per second
        QCOMPARE(Get32(fmt, 8), 22050u * bits / 8);  // bytes per second
        QCOMPARE(Get16(fmt, 12), bits / 8);          // block align
        QCOMPARE(Get16(fmt, 14), bits);
        if (dataBytes >= 0)
            QCOMPARE(data.size(), dataBytes);
        const double seconds = double(data.size()) / (bits / 8) / 22050;
        QVERIFY2(seconds >= shortest && seconds <= longest, qPrintable(QString::number(seconds)));

        // It is a sound, not silence: it reaches a tenth of full scale.
        int peak = 0;
        for (qsizetype i = 0; i < data.size(); i += bits / 8)
            peak = std::max(peak, bits == 8 ? std::abs(quint8(data[i]) - 128) * 256 : std::abs(qint16(Get16(data, i))));
        QVERIFY2(peak > 3277, qPrintable(QString::number(peak)));

        if (chunks.contains("LIST")) {
            // INFO with a creation date, and nothing else.
            QCOMPARE(list.left(4), QByteArray("INFO"));
            QCOMPARE(list.mid(4, 4), QByteArray("ICRD"));
            const qsizetype size = Get32(list, 8);
            QCOMPARE(12 + size + size % 2, list.size());
            const QByteArray date = list.mid(12, size);
            QVERIFY(date.endsWith('\0'));
            QVERIFY2(QDate::fromString(QString::fromLatin1(date.chopped(1)), Qt::ISODate).isValid(), date.constData());
        }
    }

    // A built-in sound plays to its end before the call returns; an unknown name plays the
    // default sound the same way.
    void builtInSoundPlaysToItsEnd_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("sounded");
        QTest::addColumn<int>("lengthMs");
        QTest::newRow("BADGE") << "BADGE" << true << "BADGE" << 345;
        QTest::newRow("WUPPER") << "WUPPER" << true << "WUPPER" << 147;
        QTest::newRow("names ignore case") << "wupper" << true << "WUPPER" << 147;
        QTest::newRow("unknown name") << "TADA" << false << "default" << 120;
        QTest::newRow("empty name") << "" << false << "default" << 120;
    }
    void builtInSoundPlaysToItsEnd()
    {
        QFETCH(QString, name);
        QFETCH(bool, known);
        QFETCH(QString, sounded);
        QFETCH(int, lengthMs);

        QElapsedTimer timer;
        timer.start();
        QCOMPARE(PlaySound(name.toStdString(), SND_RESOURCE), known);
        QVERIFY2(timer.elapsed() >= lengthMs * 9 / 10, qPrintable(QString::number(timer.elapsed())));
        const SoundStatus status = SoundStatusForTesting();
        QVERIFY(!status.sounding);
        QCOMPARE(QString::fromStdString(status.last), sounded);

        // All of it reached the device.
        const Output out = TakeOutput(status);
        QVERIFY2(out.SoundingSpan() >= OutputRate * lengthMs / 1000 * 95 / 100,
                 qPrintable(QString::number(out.SoundingSpan())));
    }

    // Without any audio device nothing sounds and nothing complains; a built-in sound still takes
    // about its length.
    void withoutADeviceEveryPlayIsSilent()
    {
        UseDriver("tarniva-no-such-driver");
        QElapsedTimer timer;
        timer.start();
        PlaySound("BADGE", SND_RESOURCE);
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(elapsed >= 300 && elapsed < 1500, qPrintable(QString::number(elapsed)));
        SoundStatus status = SoundStatusForTesting();
        QVERIFY(!status.deviceOpen);
        QCOMPARE(status.last, std::string("BADGE"));

        PlaySound(Write("one.wav", ConstantWave(1.0, 8192)).toStdString(), SND_FILENAME | SND_ASYNC);
        QVERIFY(WaitForSoundLoaderForTesting(3000));
        status = SoundStatusForTesting();
        QVERIFY(!status.deviceOpen);
        QVERIFY(!status.sounding);
        QCOMPARE(status.last, std::string("file"));
    }

    // A file play returns at once: the file is still sounding after the call.
    void filePlayReturnsAtOnce()
    {
        UseDriver("dummy");
        QVERIFY(PlaySound(Write("long.wav", ConstantWave(2.0, 8192)).toStdString(), SND_FILENAME | SND_ASYNC));
        QVERIFY(WaitForSoundLoaderForTesting(3000));
        const SoundStatus status = SoundStatusForTesting();
        QVERIFY(status.sounding);
        QCOMPARE(status.last, std::string("file"));
    }

    // Whatever cannot be played sounds the default sound, and the loader never hangs on it.
    void whichSoundAFilePlays_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("sounded");

        const QByteArray fmt = Fmt(1, 1, 22050, 16, 2);
        const QByteArray samples = Constant16(4410, 1, 8192);
        const QByteArray good = Riff(fmt + Chunk("data", samples));
        QTest::newRow("empty name") << "empty name" << QByteArray() << "default";
        QTest::newRow("missing file") << "missing" << QByteArray() << "default";
        QTest::newRow("folder") << "folder" << QByteArray() << "default";
        QTest::newRow("FIFO without a writer") << "fifo" << QByteArray() << "default";
        QTest::newRow("unreadable file") << "unreadable" << good << "default";
        QTest::newRow("larger than 64 MiB") << "huge" << good << "default";
        QTest::newRow("2 GB sparse file") << "2 GB" << good << "default";
        QTest::newRow("/dev/zero") << "device" << QByteArray() << "default";
        QTest::newRow("path of 4096 characters") << "long path" << QByteArray() << "default";
        QTest::newRow("random bytes") << "file" << QByteArray::fromHex(
            "8f1c2d3e4b5a69788796a5b4c3d2e1f00112233445566778899aabbccddeeff0f1e2d3c4b5a69788796a5b4c3d2e1f") << "default";
        QTest::newRow("rate of 0") << "file" << Riff(Fmt(1, 1, 0, 16, 2) + Chunk("data", samples)) << "default";
        QTest::newRow("header cut short") << "file" << good.left(20) << "default";
        QTest::newRow("text") << "file" << QByteArray("These are not the sounds you are looking for.\n") << "default";
        QTest::newRow("empty file") << "file" << QByteArray() << "default";
        QTest::newRow("RIFF of another kind") << "file" << QByteArray("RIFF\x04\0\0\0AVI ", 12) << "default";
        QTest::newRow("no format chunk") << "file" << Riff(Chunk("data", samples)) << "default";
        QTest::newRow("no data chunk") << "file" << Riff(fmt) << "default";
        QTest::newRow("format chunk cut short") << "file" << Riff(fmt).left(12 + 8 + 10) << "default";
        QTest::newRow("MPEG layer 3") << "file" << Riff(Fmt(0x55, 1, 22050, 0, 1) + Chunk("data", samples)) << "default";
        QTest::newRow("no channels") << "file" << Riff(Fmt(1, 0, 22050, 16, 2) + Chunk("data", samples)) << "default";
        QTest::newRow("no samples") << "file" << Riff(fmt + Chunk("data", {})) << "default";
        QTest::newRow("data chunk claiming 4 GiB") << "file" << Riff(fmt + Chunk("data", samples, 0xFFFFFFF0)) << "default";
        QTest::newRow("data chunk cut short") << "file" << Riff(fmt + Chunk("data", samples, 100000)) << "file";
        QTest::newRow("other chunks first") << "file" << Riff(Chunk("LIST", "INFOjunk!") + Chunk("junk", "x") + fmt + Chunk("data", samples)) << "file";
        QTest::newRow("RIFF size zero") << "file" << Riff(fmt + Chunk("data", samples), 0) << "file";
        QTest::newRow("a good one") << "file" << good << "file";
    }
    void whichSoundAFilePlays()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, sounded);

        UseDriver("dummy");
        QString path = Path("sound.wav");
        if (kind == "empty name")
            path.clear();
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "fifo")
            QCOMPARE(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
        else if (kind == "device")
            path = QStringLiteral("/dev/zero");
        else if (kind == "long path")
            path = QLatin1Char('/') + QString(4095, QLatin1Char('a'));
        else if (kind == "file" || kind == "unreadable" || kind == "huge" || kind == "2 GB")
            Write("sound.wav", bytes);
        if (kind == "unreadable") {
            if (geteuid() == 0)
                QSKIP("root reads every file");
            QVERIFY(QFile::setPermissions(path, {}));
        }
        if (kind == "huge")
            QCOMPARE(truncate(path.toLocal8Bit().constData(), (64 << 20) + 1), 0); // sparse: no disk used
        if (kind == "2 GB")
            QCOMPARE(truncate(path.toLocal8Bit().constData(), 2000000000), 0);

        QVERIFY(PlaySound(path.toStdString(), SND_FILENAME | SND_ASYNC));
        QVERIFY(WaitForSoundLoaderForTesting(3000));
        QCOMPARE(QString::fromStdString(SoundStatusForTesting().last), sounded);
    }

    // Every format the decoder reads reaches the device at its level, converted to the device's
    // format and rate.
    void samplesReachTheOutput_data()
    {
        QTest::addColumn<QByteArray>("wave");
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("tolerance");

        constexpr int frames = OutputRate * 6 / 100; // 60 ms
        const QByteArray u8(frames, char(160));
        QByteArray s24, s32, f32, stereo = Constant16(frames, 2, 8192);
        for (int i = 0; i < frames; ++i) {
            Put24(s24, 0x200000);
            Put32(s32, 0x20000000);
            const float quarter = 0.25f;
            quint32 raw;
            std::memcpy(&raw, &quarter, 4);
            Put32(f32, raw);
        }
        QTest::newRow("8-bit") << Riff(Fmt(1, 1, OutputRate, 8, 1) + Chunk("data", u8)) << 0.25 << 1e-6;
        QTest::newRow("16-bit stereo") << Riff(Fmt(1, 2, OutputRate, 16, 4) + Chunk("data", stereo)) << 0.25 << 1e-6;
        QTest::newRow("24-bit") << Riff(Fmt(1, 1, OutputRate, 24, 3) + Chunk("data", s24)) << 0.25 << 1e-6;
        QTest::newRow("32-bit") << Riff(Fmt(1, 1, OutputRate, 32, 4) + Chunk("data", s32)) << 0.25 << 1e-6;
        QTest::newRow("float") << Riff(Fmt(3, 1, OutputRate, 32, 4) + Chunk("data", f32)) << 0.25 << 1e-6;

        const quint8 alaw = NearestCode(ALawValue, 8192), mulaw = NearestCode(MuLawValue, 8192);
        QTest::newRow("A-law") << Riff(Fmt(6, 1, OutputRate, 8, 1) + Chunk("data", QByteArray(frames, char(alaw))))
                               << ALawValue(alaw) / 32768.0 << 1e-4;
        QTest::newRow("mu-law") << Riff(Fmt(7, 1, OutputRate, 8, 1) + Chunk("data", QByteArray(frames, char(mulaw))))
                                << MuLawValue(mulaw) / 32768.0 << 1e-4;

        // IMA ADPCM blocks of 256 bytes: a header that starts the prediction at 8192 with the
        // smallest step, then all-zero codes, which leave it there.
        QByteArray ima;
        for (int block = 0; block < frames / 505 + 1; ++block) {
            QByteArray b;
            Put16(b, 8192);
            b.append('\0').append('\0');
            ima += b + QByteArray(252, '\0');
        }
        QByteArray samplesPerBlock;
        Put16(samplesPerBlock, 505);
        QTest::newRow("IMA ADPCM") << Riff(Fmt(0x11, 1, OutputRate, 4, 256, samplesPerBlock) + Chunk("data", ima)) << 0.25 << 1e-6;

        // WAVE_FORMAT_EXTENSIBLE: valid bits, speaker mask, then the PCM sub-format's GUID.
        QByteArray extensible;
        Put16(extensible, 16);
        Put32(extensible, 3);
        extensible += QByteArray::fromHex("0100000000001000800000aa00389b71");
        QTest::newRow("extensible") << Riff(Fmt(0xFFFE, 2, OutputRate, 16, 4, extensible) + Chunk("data", stereo)) << 0.25 << 1e-6;

        // Other rates pass through the resampler, which keeps the level but not every last bit.
        QTest::newRow("22050 Hz") << ConstantWave(0.06, 8192, 22050) << 0.25 << 0.01;
        QTest::newRow("8000 Hz") << ConstantWave(0.06, 8192, 8000) << 0.25 << 0.01;
    }
    void samplesReachTheOutput()
    {
        QFETCH(QByteArray, wave);
        QFETCH(double, level);
        QFETCH(double, tolerance);

        const SoundStatus status = PlayFileToEnd(Write("sound.wav", wave));
        QCOMPARE(status.last, std::string("file"));
        QCOMPARE(status.outputFormat, unsigned(AUDIO_F32SYS));
        QCOMPARE(status.outputRate, OutputRate);
        const Output out = TakeOutput(status);
        // At least half of the 60 ms come out at the level, in every channel.
        const qsizetype run = out.LongestRun(level, tolerance);
        QVERIFY2(run >= OutputRate * 3 / 100, qPrintable(QString::number(run)));
    }

    // At the device's own rate the samples arrive one for one, in order.
    void aSineArrivesSampleForSample()
    {
        QVector<qint16> sine;
        QByteArray data;
        for (int i = 0; i < OutputRate / 20; ++i) {
            sine << qint16(std::lround(16384 * std::cos(2 * M_PI * 1000 * i / OutputRate)));
            Put16(data, sine.back());
        }
        const SoundStatus status = PlayFileToEnd(Write("sine.wav", Riff(Fmt(1, 1, OutputRate, 16, 2) + Chunk("data", data))));
        const Output out = TakeOutput(status);
        qsizetype first = 0;
        while (first < out.Frames() && out.Silent(first))
            ++first;
        QVERIFY(first + sine.size() <= out.Frames());
        for (qsizetype i = 0; i < sine.size(); ++i)
            for (int c = 0; c < out.channels; ++c)
                QVERIFY2(std::abs(out.At(first + i, c) - sine[i] / 32768.0) < 1e-6, qPrintable(QString::number(i)));
    }

    // A new play stops the sound still playing, whichever kind it is.
    void aNewPlayStopsTheSoundingOne_data()
    {
        QTest::addColumn<bool>("builtIn");
        QTest::newRow("a file") << false;
        QTest::newRow("a built-in sound") << true;
    }
    void aNewPlayStopsTheSoundingOne()
    {
        QFETCH(bool, builtIn);

        // A level no 8-bit sample has, so that the built-in sound never passes for the first one.
        const int firstValue = 8193;
        const double firstLevel = firstValue / 32768.0;
        PlaySound(Write("first.wav", ConstantWave(2.0, firstValue)).toStdString(), SND_FILENAME | SND_ASYNC);
        QVERIFY(WaitForSoundLoaderForTesting(3000));
        QTest::qWait(100);
        SoundStatus status = SoundStatusForTesting();
        if (builtIn)
            PlaySound("WUPPER", SND_RESOURCE);
        else
            status = PlayFileToEnd(Write("second.wav", ConstantWave(0.1, -16384)));
        QVERIFY(!SoundStatusForTesting().sounding);

        // The first sound was cut off where the second began, and did not come back.
        const Output out = TakeOutput(status);
        qsizetype firstEnd = -1, secondStart = -1;
        for (qsizetype f = 0; f < out.Frames(); ++f) {
            if (out.FrameNear(f, firstLevel, 1e-7))
                firstEnd = f;
            else if (firstEnd >= 0 && secondStart < 0 && !out.Silent(f))
                secondStart = f;
        }
        QVERIFY(firstEnd > 0);
        QVERIFY(secondStart > 0);
        QVERIFY2(firstEnd < secondStart, qPrintable(QStringLiteral("%1 %2").arg(firstEnd).arg(secondStart)));
        QVERIFY(firstEnd < OutputRate); // well short of its two seconds
        if (!builtIn)
            QVERIFY(out.LongestRun(-0.5, 1e-7) >= OutputRate / 20);
    }

    // Plays in quick succession, as from a sound timer of 1 ms, each stop the one before, however
    // far its loading had got; the last one asked for is the one that sounds.
    void aBurstOfPlaysEndsWithTheLast()
    {
        const int firstValue = 8193;
        const std::string first = Write("first.wav", ConstantWave(0.5, firstValue)).toStdString();
        for (int i = 0; i < 100; ++i)
            PlaySound(first, SND_FILENAME | SND_ASYNC);
        PlaySound("WUPPER", SND_RESOURCE);
        for (int i = 0; i < 100; ++i)
            PlaySound(first, SND_FILENAME | SND_ASYNC);
        const SoundStatus status = PlayFileToEnd(Write("last.wav", ConstantWave(0.1, -16384)));
        QCOMPARE(status.last, std::string("file"));

        const Output out = TakeOutput(status);
        qsizetype lastStart = 0;
        while (lastStart < out.Frames() && !out.FrameNear(lastStart, -0.5, 1e-7))
            ++lastStart;
        QVERIFY(out.LongestRun(-0.5, 1e-7) >= OutputRate / 20);
        for (qsizetype f = lastStart; f < out.Frames(); ++f)
            QVERIFY2(!out.FrameNear(f, firstValue / 32768.0, 1e-7), qPrintable(QString::number(f)));
    }

    // The device is held only while sounds play and for a short while after.
    void theDeviceClosesWhenQuiet()
    {
        UseDriver("dummy");
        SetSoundIdleCloseForTesting(100);
        PlaySound(Write("long.wav", ConstantWave(0.8, 8192)).toStdString(), SND_FILENAME | SND_ASYNC);
        QVERIFY(WaitForSoundLoaderForTesting(3000));
        QTest::qWait(300);
        QVERIFY(SoundStatusForTesting().sounding); // not cut off by the quiet time
        QTRY_VERIFY_WITH_TIMEOUT(!SoundStatusForTesting().sounding, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(!SoundStatusForTesting().deviceOpen, 3000);

        PlaySound("WUPPER", SND_RESOURCE);
        const SoundStatus status = SoundStatusForTesting();
        QVERIFY(status.deviceOpen);
        QCOMPARE(status.last, std::string("WUPPER"));
    }

    // The decoder only ever sees sizes that are true to the bytes present.
    void decoderSeesTrueSizes_data()
    {
        QTest::addColumn<QByteArray>("wave");
        QTest::addColumn<int>("formatBytes");
        QTest::addColumn<QByteArray>("data");

        const QByteArray data(1000, 'x');
        const QByteArray fmt16 = Fmt(1, 2, 22050, 16, 4);
        QTest::newRow("data claiming more than is there") << Riff(fmt16 + Chunk("data", data, 50000000)) << 16 << data;
        QTest::newRow("partial sample frame") << Riff(fmt16 + Chunk("data", data.left(999))) << 16 << data.left(996);
        QTest::newRow("odd 8-bit data") << Riff(Fmt(1, 1, 22050, 8, 1) + Chunk("data", data.left(999))) << 16 << data.left(999);
        QTest::newRow("other chunks dropped")
            << Riff(Chunk("LIST", "INFOabc") + fmt16 + Chunk("fact", "1234") + Chunk("data", data) + Chunk("LIST", "INFO"))
            << 16 << data;
        // The format after the data, odd-sized and missing its pad byte at the end of the file.
        QByteArray format17("fmt ");
        Put32(format17, 17);
        format17 += fmt16.mid(8) + QByteArray(1, '\0');
        QTest::newRow("format last, without its pad") << Riff(Chunk("data", data) + format17) << 17 << data;
    }
    void decoderSeesTrueSizes()
    {
        QFETCH(QByteArray, wave);
        QFETCH(int, formatBytes);
        QFETCH(QByteArray, data);

        const WaveReader read = [&wave](std::uint64_t offset, unsigned char *buffer, std::size_t n) {
            const QByteArray part = wave.mid(qsizetype(offset), qsizetype(n));
            std::memcpy(buffer, part.constData(), size_t(part.size()));
            return size_t(part.size());
        };
        const std::optional<WaveLayout> layout = LayOutWave(read, quint64(wave.size()));
        QVERIFY(layout);
        const QByteArray clean = QByteArray(reinterpret_cast<const char *>(layout->header.data()), qsizetype(layout->header.size()))
                                 + wave.mid(qsizetype(layout->dataAt), qsizetype(layout->dataBytes));
        QCOMPARE(clean.left(4), QByteArray("RIFF"));
        QCOMPARE(Get32(clean, 4), quint32(clean.size() - 8));
        QCOMPARE(clean.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(int(Get32(clean, 16)), formatBytes);
        const qsizetype dataAt = 20 + formatBytes + formatBytes % 2;
        QCOMPARE(clean.mid(dataAt, 4), QByteArray("data"));
        QCOMPARE(qsizetype(Get32(clean, dataAt + 4)), data.size());
        QCOMPARE(clean.mid(dataAt + 8), data);
    }

    // The program ends at once and without a word, whatever its sound is doing.
    void theProgramEndsCleanly_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("driver");
        QTest::newRow("while loading") << "while loading" << "dummy";
        QTest::newRow("while sounding") << "while sounding" << "dummy";
        QTest::newRow("after a built-in sound") << "after a built-in sound" << "dummy";
        QTest::newRow("after shutdown") << "after shutdown" << "dummy";
        // ALSA with a device that is not there: it would print its complaints unless silenced.
        QTest::newRow("no such ALSA device") << "while sounding" << "alsa";
    }
    void theProgramEndsCleanly()
    {
        QFETCH(QString, when);
        QFETCH(QString, driver);

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("SDL_AUDIODRIVER", driver);
        env.insert("AUDIODEV", "tarniva_no_such_device");
        program.setProcessEnvironment(env);
        program.start(SOUND_EXIT, {Write("long.wav", ConstantWave(2.0, 8192)), when});
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardError(), QByteArray());
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
    }
};

TARNIVA_TEST_MAIN(Sound)
#include "tst_sound.moc"
