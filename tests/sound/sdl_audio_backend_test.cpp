#include "smf_builder.h"
#include "sound/media_device.h"
#include "sound/sdl_audio_backend.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>

namespace pairly {
namespace {

using testing::SmfBuilder;

constexpr int kRate = 44100;

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

// A piano note of `seconds` at 120 bpm, from the first tick.
QByteArray oneNoteSong(double seconds, uint8_t key = 60)
{
    return SmfBuilder().program(0, 0, 0).noteOn(0, 0, key, 110).noteOff(uint32_t(seconds * 960), 0, key).build();
}

// A sound whose every sample is distinct from silence, so each start of it
// can be found in the mix.
QByteArray testWave(int frames)
{
    QByteArray pcm;
    uint32_t state = 1;
    for (int i = 0; i < frames; ++i) {
        state = state * 1103515245u + 12345u;
        const auto v = int16_t(3000 + (state >> 16) % 5000);
        for (int channel = 0; channel < 2; ++channel)
            pcm.append(char(v & 0xFF)).append(char(v >> 8));
    }
    QByteArray wav("RIFF");
    auto u32 = [&wav](uint32_t v) { for (int s = 0; s < 32; s += 8) wav.append(char((v >> s) & 0xFF)); };
    auto u16 = [&wav](uint16_t v) { wav.append(char(v & 0xFF)).append(char(v >> 8)); };
    u32(uint32_t(36 + pcm.size()));
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(2);
    u32(kRate);
    u32(kRate * 4);
    u16(4);
    u16(16);
    wav.append("data");
    u32(uint32_t(pcm.size()));
    return wav + pcm;
}

bool pollUntil(const std::function<bool()>& condition, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

QList<int> codes(const QSignalSpy& spy)
{
    QList<int> result;
    for (const auto& args : spy)
        result << args.at(0).toInt();
    return result;
}

// Renders the mixer's output into a file through SDL's disk driver, in real
// time or, where timing does not matter, as fast as it can.
class SdlBackendTest : public ::testing::Test {
protected:
    void start(bool realTime)
    {
        output = dir.filePath("out.raw");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", output.toLocal8Bit());
        if (realTime)
            qunsetenv("SDL_DISKAUDIODELAY");
        else
            qputenv("SDL_DISKAUDIODELAY", "0");
        backend = std::make_shared<SdlAudioBackend>();
        ASSERT_TRUE(backend->isOpen());
        ASSERT_EQ(backend->driverName(), "disk");
    }
    void TearDown() override
    {
        backend.reset();
        qunsetenv("SDL_SOUNDFONTS");
    }

    int64_t framesWritten() const { return QFileInfo(output).size() / 4; }
    std::vector<int16_t> rendered() const
    {
        QFile file(output);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        std::vector<int16_t> samples(size_t(bytes.size() / 2));
        std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
        return samples;
    }
    // First frame at or after `from` whose left sample is louder than `level`.
    static int64_t onset(const std::vector<int16_t>& s, int64_t from, int level = 200)
    {
        for (auto f = size_t(from); 2 * f < s.size(); ++f)
            if (std::abs(s[2 * f]) > level)
                return int64_t(f);
        return -1;
    }

    QTemporaryDir dir;
    QString output;
    std::shared_ptr<SdlAudioBackend> backend;
};

// A song sounds, and its end raises Done with 1 exactly once, also after SDL
// itself has let the last notes ring out.
TEST_F(SdlBackendTest, SongSoundsAndEndsWithOneOnce)
{
    start(true);
    writeFile(dir.filePath("song.mid"), oneNoteSong(0.5));
    MediaDevice device(backend);
    QSignalSpy done(&device, &MediaDevice::Done);
    device.setFileName(dir.filePath("song.mid"));
    device.setCommand("open");
    device.setCommand("play");

    ASSERT_TRUE(pollUntil([&] { return !done.isEmpty(); }, 5000));
    EXPECT_EQ(codes(done), QList<int>{MediaDevice::Successful});
    ASSERT_TRUE(pollUntil([&] { return !backend->musicSounding(); }, 8000));
    QCoreApplication::processEvents();
    EXPECT_EQ(codes(done), QList<int>{MediaDevice::Successful});

    const auto samples = rendered();
    double sum = 0;
    for (int16_t v : samples)
        sum += double(v) * v;
    EXPECT_GT(std::sqrt(sum / double(samples.size())), 100.0);
}

// "close" while a song plays stops it; no code 1 follows, ever.
TEST_F(SdlBackendTest, CloseDuringPlayRaisesNoOne)
{
    start(true);
    writeFile(dir.filePath("song.mid"), oneNoteSong(0.6));
    MediaDevice device(backend);
    QSignalSpy done(&device, &MediaDevice::Done);
    device.setFileName(dir.filePath("song.mid"));
    device.setCommand("open");
    device.setCommand("play");
    ASSERT_TRUE(pollUntil([&] { return onset(rendered(), 0) >= 0; }, 3000));
    device.setCommand("close");
    const int64_t closedAt = framesWritten();
    ASSERT_TRUE(pollUntil([&] { return framesWritten() > closedAt + kRate; }, 4000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(codes(done).contains(MediaDevice::Successful));
}

// In sequence, the next song starts within half a second of the previous
// song's last note (not after FluidSynth's long fade).
TEST_F(SdlBackendTest, SequentialGapIsUnderHalfASecond)
{
    start(true);
    writeFile(dir.filePath("a.mid"), oneNoteSong(0.8, 60));
    writeFile(dir.filePath("b.mid"), oneNoteSong(0.3, 72));
    MediaDevice device(backend);
    int ends = 0;
    QObject::connect(&device, &MediaDevice::Done, [&](int code) {
        if (code != MediaDevice::Successful || ++ends > 1)
            return;
        device.setCommand("close");
        device.setFileName(dir.filePath("b.mid"));
        device.setCommand("Open");
        device.setCommand("play");
    });
    device.setFileName(dir.filePath("a.mid"));
    device.setCommand("open");
    device.setCommand("play");
    ASSERT_TRUE(pollUntil([&] { return ends == 2; }, 6000));

    const auto samples = rendered();
    const int64_t startA = onset(samples, 0);
    ASSERT_GE(startA, 0);
    const int64_t lastNoteEnd = startA + int64_t(0.8 * kRate);
    // Song A is cut after its last note; the first sound after the cut is B.
    int64_t silentFrom = -1;
    for (int64_t f = lastNoteEnd, run = 0; 2 * f < int64_t(samples.size()); ++f) {
        run = samples[size_t(2 * f)] == 0 ? run + 1 : 0;
        if (run == 64) {
            silentFrom = f;
            break;
        }
    }
    ASSERT_GE(silentFrom, 0);
    const int64_t startB = onset(samples, silentFrom);
    ASSERT_GE(startB, 0);
    const double gap = double(startB - lastNoteEnd) / kRate;
    RecordProperty("sequential_gap_ms", int(gap * 1000));
    std::printf("sequential gap: %.3f s\n", gap);
    EXPECT_LT(gap, 0.5);
    EXPECT_GT(gap, 0.0);
}

// Two quick turns: the second rustle cuts the first and starts from the
// beginning of the sound again; the two mix with no music.
TEST_F(SdlBackendTest, TwoQuickRustlesBothStartFromTheBeginning)
{
    start(true);
    const int frames = int(0.3 * kRate);
    writeFile(dir.filePath("carta.wav"), testWave(frames));
    MediaDevice MMCw(backend);
    MMCw.setDeviceType("WaveAudio");
    MMCw.setFileName(dir.filePath("carta.wav"));
    MMCw.setCommand("Open");

    const int64_t firstCall = framesWritten();
    MMCw.setCommand("Play");
    MMCw.setFrom(0);
    ASSERT_TRUE(pollUntil([&] { return framesWritten() > firstCall + kRate / 10; }, 2000));
    MMCw.setCommand("Play");
    MMCw.setFrom(0);
    const int64_t secondCall = framesWritten();
    ASSERT_TRUE(pollUntil([&] { return framesWritten() > secondCall + frames + kRate / 10; }, 3000));

    const auto samples = rendered();
    const QByteArray wave = testWave(frames).mid(44);
    const auto* head = reinterpret_cast<const int16_t*>(wave.constData());
    std::vector<int64_t> starts;
    for (size_t f = 0; 2 * (f + 256) < samples.size(); ++f)
        if (std::memcmp(&samples[2 * f], head, 256 * 4) == 0)
            starts.push_back(int64_t(f));
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_LT(starts[1] - starts[0], frames);
    const double latency = double(starts[0] - firstCall) / kRate;
    RecordProperty("rustle_latency_ms", int(latency * 1000));
    std::printf("rustle start after the call: %.3f s of audio\n", latency);
}

struct BrokenFile {
    const char* name;
    const char* file;
    QByteArray content;
    StreamKind kind;
};

class SdlBrokenFileTest : public SdlBackendTest, public ::testing::WithParamInterface<BrokenFile> {};

// Bad or missing files leave the device silent and closed; nothing crashes.
TEST_P(SdlBrokenFileTest, IsRefusedQuietly)
{
    start(false);
    const BrokenFile& c = GetParam();
    if (!c.content.isNull())
        writeFile(dir.filePath(c.file), c.content);
    MediaDevice device(backend);
    if (c.kind == StreamKind::Effect)
        device.setDeviceType("WaveAudio");
    QSignalSpy done(&device, &MediaDevice::Done);
    device.setFileName(dir.filePath(c.file));
    device.setCommand("open");
    device.setCommand("play");
    QCoreApplication::processEvents();
    EXPECT_EQ(device.mode(), MediaDevice::Mode::NotOpen);
    EXPECT_EQ(codes(done), QList<int>{MediaDevice::Failure});
    device.setCommand("close");
}

INSTANTIATE_TEST_SUITE_P(
    Files, SdlBrokenFileTest,
    ::testing::Values(
        BrokenFile{"MissingFolder", "music/Chill1.mid", QByteArray(), StreamKind::Music},
        BrokenFile{"Garbage", "garbage.mid", QByteArray(4096, '\x7F'), StreamKind::Music},
        BrokenFile{"TextFile", "notes.mid", QByteArray("these are not the songs you are looking for\n"), StreamKind::Music},
        BrokenFile{"Empty", "empty.mid", QByteArray(""), StreamKind::Music},
        BrokenFile{"TruncatedHeader", "cut.mid", oneNoteSong(1).left(10), StreamKind::Music},
        BrokenFile{"MissingWave", "carta.wav", QByteArray(), StreamKind::Effect},
        BrokenFile{"WaveHeaderOnly", "carta.wav", testWave(100).left(40), StreamKind::Effect},
        BrokenFile{"WaveGarbage", "carta.wav", QByteArray("RIFF\x10\x00\x00\x00WAVEjunkjunk", 20), StreamKind::Effect}),
    [](const auto& info) { return std::string(info.param.name); });

// A song cut in the middle of its track plays what it holds or is refused;
// either way the device keeps working.
TEST_F(SdlBackendTest, TruncatedSongDoesNotBreakTheDevice)
{
    start(false);
    const QByteArray whole = oneNoteSong(1);
    MediaDevice device(backend);
    for (qsizetype cut = 14; cut < whole.size(); cut += 3) {
        writeFile(dir.filePath("cut.mid"), whole.left(cut));
        device.setFileName(dir.filePath("cut.mid"));
        device.setCommand("open");
        device.setCommand("play");
        QCoreApplication::processEvents();
        device.setCommand("close");
    }
    EXPECT_EQ(device.mode(), MediaDevice::Mode::NotOpen);
}

// Without a SoundFont the songs cannot be synthesized; the game goes on.
TEST_F(SdlBackendTest, MissingSoundFontLeavesMusicSilent)
{
    qputenv("SDL_SOUNDFONTS", dir.filePath("nowhere.sf2").toLocal8Bit());
    start(false);
    writeFile(dir.filePath("song.mid"), oneNoteSong(0.2));
    MediaDevice device(backend);
    device.setFileName(dir.filePath("song.mid"));
    device.setCommand("open");
    device.setCommand("play");
    QCoreApplication::processEvents();
    device.setCommand("close");
    EXPECT_EQ(device.mode(), MediaDevice::Mode::NotOpen);
}

long residentKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

qsizetype openFiles()
{
    return QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size();
}

// Each "close" frees its song's synthesizer: 300 song changes leave memory
// and open files where they were after the first few.
TEST_F(SdlBackendTest, SongChangesLeaveMemoryAndFilesFlat)
{
    start(false);
    writeFile(dir.filePath("a.mid"), oneNoteSong(2, 60));
    writeFile(dir.filePath("b.mid"), oneNoteSong(2, 64));
    MediaDevice device(backend);
    auto change = [&](int n) {
        device.setCommand("close");
        device.setFileName(dir.filePath(n % 2 ? "a.mid" : "b.mid"));
        device.setCommand("open");
        device.setCommand("play");
        QCoreApplication::processEvents();
    };
    for (int n = 0; n < 20; ++n)
        change(n);
    const long memoryBefore = residentKiB();
    const qsizetype filesBefore = openFiles();
    for (int n = 0; n < 300; ++n)
        change(n);
    const long growth = residentKiB() - memoryBefore;
    RecordProperty("rss_growth_kib", int(growth));
    std::printf("RSS %ld KiB -> %ld KiB over 300 song changes\n", memoryBefore, memoryBefore + growth);
    EXPECT_LT(growth, 8 * 1024);
    EXPECT_EQ(openFiles(), filesBefore);
}

}  // namespace
}  // namespace pairly
