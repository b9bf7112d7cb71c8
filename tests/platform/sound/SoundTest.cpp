// The sound service on SDL's dummy driver (and, in child processes, the disk driver, no driver
// at all, and a private PulseAudio): frames reach the device, a new request replaces the old,
// unplayable files give the chime, nothing hangs.
#include "platform/sound/sound.h"

#include "platform/sound/SoundChime.h"
#include "tests/support/TempDrives.h"
#include "tests/support/audition/Clock.h"
#include "tests/support/audition/MonitorRecording.h"
#include "tests/support/audition/PulseServer.h"
#include "tests/support/audition/WavWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace std::chrono_literals;
using namespace win32;
using audition::ClaimDataBytes;
using audition::WavSpec;
using audition::WriteWav;

namespace {

constexpr int kPcm8 = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
constexpr int kPcm16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
constexpr int kPcm24 = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
constexpr int kFloat = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

// The 16-bit sample the test sound holds at `index`: a varied, never silent pattern.
qint16 TestSample(std::size_t index) {
    return static_cast<qint16>((static_cast<int>(index * 37 % 2000) - 1000) * 16 + 7);
}

// A Sun/NeXT sound file: a format libsndfile reads, but no WAV file.
QByteArray AuFile() {
    QByteArray out = ".snd";
    for (quint32 field : {24u, 8000u, 3u, 8000u, 1u}) {
        char bytes[4];
        qToBigEndian(field, bytes);
        out.append(bytes, 4);
    }
    return out + QByteArray(8000, '\x10');
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { SetSoundIdleClose(3000ms); }
    void TearDown() override {
        sndPlaySound(QString(), SND_ASYNC);
        SetSoundIdleClose(3000ms);
    }

    // Plays a Windows path and waits until the service has begun it.
    SoundStatus Play(const QString& path, UINT flags = SND_ASYNC) {
        const std::uint64_t before = GetSoundStatus().request;
        EXPECT_TRUE(sndPlaySound(path, flags));
        SoundStatus status;
        EXPECT_TRUE(WaitForSound(
            [&](const SoundStatus& s) {
                status = s;
                return s.request > before;
            },
            5s));
        return status;
    }
    static bool WaitUntilEnded() {
        return WaitForSound([](const SoundStatus& s) { return !s.playing; }, 10s);
    }

    // Writes C:\`name`, `frames` frames of 16-bit samples (interleaved) from `sample`.
    void MakeWav(const char* name, const WavSpec& wav, std::size_t frames,
                 qint16 (*sample)(std::size_t) = TestSample) {
        ASSERT_TRUE(WriteWav(drives_.PosixPath('C', name), wav, frames,
                             [&](std::size_t frame, int channel) {
                                 return sample(frame * wav.channels + channel) / 32767.0;
                             }));
    }

    TempDrives drives_;
};

TEST_F(SoundTest, PlayingAWavHandsAllItsFramesToTheDevice) {
    const std::size_t frames = 44100 * 3 / 10;
    drives_.MakeDirectory('C', "zvuky");
    MakeWav("zvuky/ding.wav", {}, frames);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(sndPlaySound("C:\\zvuky\\ding.wav", SND_ASYNC));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms);
    ASSERT_TRUE(
        WaitForSound([&](const SoundStatus& s) { return s.framesHanded >= frames * 2 / 3; }, 5s));
    const SoundStatus status = GetSoundStatus();
    EXPECT_TRUE(status.path.endsWith("/zvuky/ding.wav")) << status.path.toStdString();
    EXPECT_FALSE(status.defaultSound);
    EXPECT_TRUE(status.deviceOpen);
    ASSERT_TRUE(WaitUntilEnded());
    EXPECT_EQ(GetSoundStatus().framesQueued, frames);
    EXPECT_GE(GetSoundStatus().framesHanded, frames - 16);
}

TEST_F(SoundTest, EveryWavVariantPlaysToItsEnd) {
    struct Case {
        const char* what;
        WavSpec format;
        std::size_t slack = 0; // frames a block codec may pad its last block with
    };
    const Case cases[] = {
        {"8-bit mono at 8 kHz", {8000, 1, kPcm8}},
        {"24-bit stereo at 96 kHz", {96000, 2, kPcm24}},
        {"float stereo at 48 kHz", {48000, 2, kFloat}},
        {"16-bit mono at 22.05 kHz", {22050, 1, kPcm16}},
        {"three channels", {44100, 3, kPcm16}},
        {"five channels at 11.025 kHz", {11025, 5, kPcm16}},
        {"ten channels", {44100, 10, kPcm16}},
        {"2 kHz", {2000, 1, kPcm16}},
        {"16-bit stereo at 192 kHz", {192000, 2, kPcm16}},
        {"32-bit stereo", {44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_32}},
        {"64-bit float stereo at 32 kHz", {32000, 2, SF_FORMAT_WAV | SF_FORMAT_DOUBLE}},
        {"A-law at 8 kHz", {8000, 1, SF_FORMAT_WAV | SF_FORMAT_ALAW}},
        {"mu-law at 8 kHz", {8000, 1, SF_FORMAT_WAV | SF_FORMAT_ULAW}},
        {"IMA ADPCM at 11.025 kHz", {11025, 1, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM}, 1010},
        {"MS ADPCM stereo", {22050, 2, SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM}, 2036},
        {"GSM 6.10 at 8 kHz", {8000, 1, SF_FORMAT_WAV | SF_FORMAT_GSM610}, 640},
        {"WAVEX 5.1", {48000, 6, SF_FORMAT_WAVEX | SF_FORMAT_PCM_16}},
        {"RF64", {44100, 2, SF_FORMAT_RF64 | SF_FORMAT_PCM_16}},
    };
    // First each sound opens the device, then each plays through the device that the one
    // before it opened; either way the device keeps the format it was opened in.
    for (const bool ownDevice : {true, false}) {
        SetSoundIdleClose(ownDevice ? 20ms : 3000ms);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (ownDevice ? ", own device" : ", shared device"));
            if (ownDevice) {
                ASSERT_TRUE(WaitForSound([](const SoundStatus& s) { return !s.deviceOpen; }, 5s));
            }
            const SoundStatus before = GetSoundStatus();
            const std::size_t frames = static_cast<std::size_t>(c.format.rate) / 5;
            MakeWav("variant.wav", c.format, frames);
            const SoundStatus begun = Play("C:\\variant.wav");
            EXPECT_FALSE(begun.defaultSound);
            if (before.deviceOpen) {
                EXPECT_EQ(begun.deviceRate, before.deviceRate);
                EXPECT_EQ(begun.deviceChannels, before.deviceChannels);
            }
            ASSERT_TRUE(WaitUntilEnded());
            const SoundStatus status = GetSoundStatus();
            EXPECT_EQ(status.request, begun.request);
            EXPECT_GE(status.framesQueued, frames);
            EXPECT_LE(status.framesQueued, frames + c.slack);
            // Counted in the sound's own rate after conversion to the device's.
            EXPECT_NEAR(static_cast<double>(status.framesHanded),
                        static_cast<double>(status.framesQueued), frames * 0.02 + 16);
        }
    }
}

TEST_F(SoundTest, ANewRequestReplacesTheSoundPlaying) {
    const std::size_t longFrames = 44100 * 20;
    MakeWav("long.wav", {}, longFrames);
    MakeWav("short.wav", {22050, 1}, 22050 / 10);
    const SoundStatus first = Play("C:\\long.wav");
    ASSERT_TRUE(WaitForSound([](const SoundStatus& s) { return s.framesHanded > 1000; }, 5s));
    const auto start = std::chrono::steady_clock::now();
    const SoundStatus second = Play("C:\\short.wav");
    EXPECT_EQ(second.request, first.request + 1);
    EXPECT_TRUE(second.path.endsWith("/short.wav"));
    ASSERT_TRUE(WaitUntilEnded());
    // The long sound stopped: the short one ended in about its own length.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(GetSoundStatus().framesQueued, 22050u / 10);
}

TEST_F(SoundTest, UnplayableFilesPlayTheDefaultChime) {
    drives_.MakeFile('C', "garbage.wav", QByteArray(5000, '\x5a'));
    drives_.MakeFile('C', "empty.wav", QByteArray());
    MakeWav("cut.wav", {}, 1000);
    ASSERT_TRUE(QFile::resize(drives_.PosixPath('C', "cut.wav"), 30));
    MakeWav("nodata.wav", {}, 0);
    ASSERT_TRUE(ClaimDataBytes(drives_.PosixPath('C', "nodata.wav"), 1u << 30));
    drives_.MakeFile('C', "sun.wav", AuFile());
    MakeWav("slow.wav", {1, 1}, 1000);
    drives_.MakeDirectory('C', "folder.wav");
    ASSERT_EQ(mkfifo(QFile::encodeName(drives_.PosixPath('C', "pipe.wav")).constData(), 0600), 0);
    const char* paths[] = {"C:\\missing.wav", "C:\\garbage.wav", "C:\\empty.wav", "C:\\cut.wav",
                           "C:\\nodata.wav",  "C:\\sun.wav",     "C:\\slow.wav",  "C:\\folder.wav",
                           "C:\\pipe.wav",    "Q:\\no-drive.wav"};
    for (const char* path : paths) {
        SCOPED_TRACE(path);
        const SoundStatus status = Play(path);
        EXPECT_TRUE(status.defaultSound);
        ASSERT_TRUE(WaitUntilEnded());
        EXPECT_EQ(GetSoundStatus().framesQueued, SoundChime::Frames());
    }
}

TEST_F(SoundTest, AHeaderThatClaimsMoreThanTheFileHoldsPlaysWhatIsThere) {
    MakeWav("liar.wav", {}, 4410);
    ASSERT_TRUE(ClaimDataBytes(drives_.PosixPath('C', "liar.wav"), 0x7ffffff0));
    const SoundStatus status = Play("C:\\liar.wav");
    EXPECT_FALSE(status.defaultSound);
    ASSERT_TRUE(WaitUntilEnded());
    EXPECT_EQ(GetSoundStatus().framesQueued, 4410u);
}

TEST_F(SoundTest, WithoutTheDefaultAnUnplayableFileStopsTheSoundAndFails) {
    MakeWav("long.wav", {}, 44100 * 20);
    Play("C:\\long.wav");
    EXPECT_FALSE(sndPlaySound("C:\\missing.wav", SND_ASYNC | SND_NODEFAULT));
    EXPECT_TRUE(WaitUntilEnded());
    EXPECT_TRUE(GetSoundStatus().path.endsWith("/long.wav"));
}

TEST_F(SoundTest, AnEmptyPathStopsTheSound) {
    MakeWav("long.wav", {}, 44100 * 20);
    Play("C:\\long.wav");
    EXPECT_TRUE(sndPlaySound(QString(), SND_ASYNC));
    EXPECT_TRUE(WaitUntilEnded());
}

TEST_F(SoundTest, ASynchronousRequestReturnsWhenTheSoundHasPlayed) {
    MakeWav("short.wav", {}, 44100 / 4);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(sndPlaySound("C:\\short.wav", SND_SYNC));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, 150ms);
    EXPECT_LT(elapsed, 5s);
    EXPECT_FALSE(GetSoundStatus().playing);
}

TEST_F(SoundTest, TheDeviceClosesWhenIdleAndOpensForTheNextSound) {
    MakeWav("short.wav", {}, 4410);
    SetSoundIdleClose(100ms);
    Play("C:\\short.wav");
    ASSERT_TRUE(WaitForSound([](const SoundStatus& s) { return !s.deviceOpen; }, 5s));
    EXPECT_EQ(GetSoundStatus().deviceRate, 0);
    const SoundStatus again = Play("C:\\short.wav");
    EXPECT_TRUE(again.deviceOpen);
    // The dummy driver has no format of its own: the device takes the first sound's.
    EXPECT_EQ(again.deviceRate, 44100);
    EXPECT_EQ(again.deviceChannels, 2);
    ASSERT_TRUE(WaitUntilEnded());
    EXPECT_GE(GetSoundStatus().framesHanded, 4400u);
}

// Runs one of the DISABLED_ tests below in a child process with the given environment; returns
// its standard error, or nothing when it failed. A child may skip where `skipped` is given.
std::optional<QString> RunChild(const QString& test, const QProcessEnvironment& environment,
                                bool* skipped = nullptr) {
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=SoundChild." + test});
    if (!child.waitForFinished(30000)) {
        child.kill();
        child.waitForFinished();
        return std::nullopt;
    }
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    if (skipped != nullptr) {
        *skipped = output.contains("[  SKIPPED ] 1 test");
    }
    if ((skipped == nullptr || !*skipped) &&
        (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 ||
         !output.contains("[  PASSED  ] 1 test"))) {
        ADD_FAILURE() << output.toStdString() << child.readAllStandardError().toStdString();
        return std::nullopt;
    }
    return QString::fromUtf8(child.readAllStandardError());
}

// Plays through SDL's disk driver in a child (which reads `sounds` where it plays named ones)
// and returns the device's 32-bit floats as the driver wrote them; none when the child failed.
std::vector<float> PlayToDisk(const TempDrives& drives, const QString& test,
                              const QString& sounds = {}) {
    const QString output = drives.Root() + "/disk.raw";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SDL_AUDIODRIVER", "disk");
    environment.insert("SDL_DISKAUDIOFILE", output);
    environment.insert("ZVONKAR_TEST_SOUND", sounds);
    QFile file(output);
    if (!RunChild(test, environment) || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray raw = file.readAll();
    std::vector<float> samples(static_cast<std::size_t>(raw.size()) / sizeof(float));
    std::memcpy(samples.data(), raw.constData(), samples.size() * sizeof(float));
    return samples;
}

// The left channel of stereo frames.
std::vector<float> Left(const std::vector<float>& stereo) {
    std::vector<float> left(stereo.size() / 2);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = stereo[2 * i];
    }
    return left;
}

TEST_F(SoundTest, TheDecodedSamplesReachTheDeviceUnchanged) {
    const std::size_t frames = 44100 / 2;
    MakeWav("exact.wav", {}, frames);
    const std::vector<float> written =
        PlayToDisk(drives_, "DISABLED_PlaysTheSoundNamedInTheEnvironment", "C:\\exact.wav");

    // The file's samples must be there, in order, after the silence that may precede them.
    const auto first = std::find_if(written.begin(), written.end(), [](float v) { return v != 0; });
    ASSERT_NE(first, written.end());
    const std::size_t offset = static_cast<std::size_t>(first - written.begin());
    const std::size_t checked = std::min<std::size_t>(written.size() - offset, frames * 2);
    ASSERT_GE(checked, frames); // at least half of the sound was written out
    for (std::size_t i = 0; i < checked; ++i) {
        ASSERT_EQ(written[offset + i], TestSample(i) / 32768.0f) << "sample " << i;
    }
}

TEST_F(SoundTest, ASoundOfAnotherRateIsConvertedWithoutSkips) {
    // The first sound opens the device at 48 kHz; a 1 kHz sine at 44.1 kHz then comes out as a
    // sine, whose second differences stay small, with no skip at the joins of its blocks.
    MakeWav("opener.wav", {48000, 2}, 480, [](std::size_t) -> qint16 { return 0; });
    MakeWav("sine.wav", {44100, 1}, 44100, [](std::size_t i) -> qint16 {
        return static_cast<qint16>(16384 * std::sin(2 * M_PI * 1000 * i / 44100.0));
    });
    const std::vector<float> left = Left(PlayToDisk(
        drives_, "DISABLED_PlaysTheSoundNamedInTheEnvironment", "C:\\opener.wav;C:\\sine.wav"));
    const auto loud = [](float v) { return std::fabs(v) > 0.4f; };
    const auto first = std::find_if(left.begin(), left.end(), loud);
    const auto last = std::find_if(left.rbegin(), left.rend(), loud).base();
    ASSERT_GT(last - first, 40000); // most of the second
    float worst = 0;
    for (auto it = first + 100; it < last - 100; ++it) {
        worst = std::max(worst, std::fabs(*(it + 1) - 2 * *it + *(it - 1)));
    }
    // At most 0.5 (2 - 2 cos(2 pi / 48)) = 0.0086 for a clean sine.
    EXPECT_LT(worst, 0.0095f);
}

TEST_F(SoundTest, ACutSoundFadesOutAndNothingMoreOfItIsPlayed) {
    // Constant levels, so that the disk output tells the sounds apart: +0.5 is cut by -0.25,
    // which the stop button's empty request then cuts.
    MakeWav("high.wav", {}, 44100 * 10, [](std::size_t) -> qint16 { return 16384; });
    MakeWav("low.wav", {}, 44100 * 10, [](std::size_t) -> qint16 { return -8192; });
    const std::vector<float> left =
        Left(PlayToDisk(drives_, "DISABLED_CutsOneSoundByAnotherAndStops"));
    // The device plays the first sound's format here, 44.1 kHz: a fade is 3 ms, 132 frames.
    const std::ptrdiff_t fade = 132;
    const auto high = std::find(left.begin(), left.end(), 0.5f);
    const auto cut = std::find_if(high, left.end(), [](float v) { return v != 0.5f; });
    const auto low = std::find(cut, left.end(), -0.25f);
    const auto stop = std::find_if(low, left.end(), [](float v) { return v != -0.25f; });
    const auto silent = std::find(stop, left.end(), 0.0f);
    ASSERT_NE(silent, left.end());
    EXPECT_EQ(low - cut, fade);
    EXPECT_EQ(silent - stop, fade);
    // The next sound starts at once; what is left of the cut one falls in small steps. After
    // that only the next sound, then a fade of it, then silence.
    float left_of_high = 0.5f;
    for (auto it = cut; it < low; ++it) {
        ASSERT_LT(*it + 0.25f, left_of_high);
        ASSERT_LT(left_of_high - (*it + 0.25f), 0.01f);
        left_of_high = *it + 0.25f;
    }
    for (auto it = stop; it < silent; ++it) {
        ASSERT_GT(*it, *(it - 1));
        ASSERT_LT(*it - *(it - 1), 0.005f);
    }
    EXPECT_TRUE(std::all_of(silent, left.end(), [](float v) { return v == 0.0f; }));
}

TEST_F(SoundTest, WithoutAudioRequestsAreDroppedWithOneMessage) {
    MakeWav("short.wav", {}, 44100);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SDL_AUDIODRIVER", "no-such-driver");
    environment.insert("ZVONKAR_TEST_SOUND", "C:\\short.wav");
    const std::optional<QString> errors =
        RunChild("DISABLED_DropsThreeRequestsQuickly", environment);
    ASSERT_TRUE(errors.has_value());
    EXPECT_EQ(errors->count("no audio output"), 1) << errors->toStdString();
}

TEST_F(SoundTest, ThroughASoundServerEachSoundCutsTheOneBefore) {
    MakeWav("high.wav", {48000, 2}, 48000 * 10, [](std::size_t) -> qint16 { return 16384; });
    MakeWav("blip.wav", {48000, 2}, 960, [](std::size_t) -> qint16 { return -8192; });
    MakeWav("mid.wav", {48000, 2}, 48000 * 10, [](std::size_t) -> qint16 { return 12288; });
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SDL_AUDIODRIVER", "pulseaudio");
    bool skipped = false;
    ASSERT_TRUE(RunChild("DISABLED_CutsThroughASoundServer", environment, &skipped));
    if (skipped) {
        GTEST_SKIP() << "PulseAudio cannot start here";
    }
}

TEST_F(SoundTest, ASoundServerThatGoesAwayDropsTheSoundAndTheFirstSoundAfterItsReturnIsHeard) {
    MakeWav("long.wav", {48000, 2}, 48000 * 10, [](std::size_t) -> qint16 { return 16384; });
    MakeWav("blip.wav", {48000, 2}, 4800, [](std::size_t) -> qint16 { return -8192; });
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SDL_AUDIODRIVER", "pulseaudio");
    bool skipped = false;
    const std::optional<QString> errors =
        RunChild("DISABLED_PlaysOnAcrossARestartOfTheSoundServer", environment, &skipped);
    if (skipped) {
        GTEST_SKIP() << "PulseAudio cannot start here";
    }
    ASSERT_TRUE(errors.has_value());
    EXPECT_EQ(errors->count("output lost, the sound playing is dropped"), 1)
        << errors->toStdString();
    EXPECT_EQ(errors->count("output lost"), 2) << errors->toStdString();
}

// Children of the tests above, run only through RunChild.
TEST(SoundChild, DISABLED_PlaysTheSoundNamedInTheEnvironment) {
    for (const QString& path : qEnvironmentVariable("ZVONKAR_TEST_SOUND").split(';')) {
        EXPECT_TRUE(sndPlaySound(path, SND_SYNC));
        EXPECT_FALSE(GetSoundStatus().defaultSound);
    }
    // Let the device write out its last buffer.
    std::this_thread::sleep_for(200ms);
}

TEST(SoundChild, DISABLED_CutsOneSoundByAnotherAndStops) {
    const auto handed = [](std::uint64_t request) {
        return WaitForSound(
            [&](const SoundStatus& s) { return s.request == request && s.framesHanded > 4410; },
            10s);
    };
    EXPECT_TRUE(sndPlaySound("C:\\high.wav", SND_ASYNC));
    EXPECT_TRUE(handed(1));
    EXPECT_TRUE(sndPlaySound("C:\\low.wav", SND_ASYNC));
    EXPECT_TRUE(handed(2));
    EXPECT_TRUE(sndPlaySound(QString(), SND_ASYNC));
    std::this_thread::sleep_for(200ms);
}

TEST(SoundChild, DISABLED_DropsThreeRequestsQuickly) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(sndPlaySound(qEnvironmentVariable("ZVONKAR_TEST_SOUND"), SND_SYNC));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms);
    EXPECT_FALSE(GetSoundStatus().deviceOpen);
}

TEST(SoundChild, DISABLED_CutsThroughASoundServer) {
    QTemporaryDir folder;
    audition::PulseServer server;
    if (!folder.isValid() || !server.Start(folder.path())) {
        GTEST_SKIP();
    }
    audition::MonitorRecording monitor;
    ASSERT_TRUE(monitor.Start());
    EXPECT_TRUE(sndPlaySound("C:\\high.wav", SND_ASYNC));
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(sndPlaySound("C:\\blip.wav", SND_SYNC));
    EXPECT_TRUE(GetSoundStatus().output.startsWith("libpulse"))
        << GetSoundStatus().output.toStdString();
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(sndPlaySound("C:\\mid.wav", SND_ASYNC));
    std::this_thread::sleep_for(300ms);
    const double stop = audition::Now();
    EXPECT_TRUE(sndPlaySound(QString(), SND_ASYNC));
    std::this_thread::sleep_for(500ms);
    monitor.Stop();

    // The first sound, then the blip that cut it, and nothing more of the first, not even
    // after the blip; then the third sound, which the stop button silences (at once, where
    // what is left of it in the queue would play for a quarter of a second more).
    std::vector<float> left(monitor.Frames());
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = monitor.Sample(i, 0);
    }
    const auto high = std::find(left.begin(), left.end(), 0.5f);
    const auto blip = std::find(high, left.end(), -0.25f);
    ASSERT_NE(blip, left.end());
    EXPECT_GE(std::count(blip, left.end(), -0.25f), 480);
    EXPECT_TRUE(std::none_of(blip, left.end(), [](float v) { return v > 0.45f; }));
    EXPECT_NE(std::find(blip, left.end(), 0.375f), left.end());
    EXPECT_TRUE(std::all_of(left.begin() + monitor.Frame(stop + 0.2), left.end(),
                            [](float v) { return v == 0.0f; }));
}

TEST(SoundChild, DISABLED_PlaysOnAcrossARestartOfTheSoundServer) {
    QTemporaryDir folder;
    audition::PulseServer server;
    if (!folder.isValid() || !server.Start(folder.path())) {
        GTEST_SKIP();
    }
    {
        // While it records, the null sink mixes a few milliseconds ahead, as a real one does.
        audition::MonitorRecording warm;
        ASSERT_TRUE(warm.Start());
        warm.Stop();
    }
    // A sound that waits for its end returns when the server goes away in its middle.
    auto waiting = std::async(std::launch::async, [] { sndPlaySound("C:\\long.wav", SND_SYNC); });
    ASSERT_TRUE(WaitForSound([](const SoundStatus& s) { return s.framesHanded > 4800; }, 5s));
    server.Kill();
    EXPECT_EQ(waiting.wait_for(2s), std::future_status::ready);
    EXPECT_FALSE(GetSoundStatus().playing);
    // Requests meanwhile are taken, silently.
    EXPECT_TRUE(sndPlaySound("C:\\blip.wav", SND_SYNC));

    ASSERT_TRUE(server.Start(folder.path()));
    audition::MonitorRecording monitor;
    ASSERT_TRUE(monitor.Start());
    EXPECT_TRUE(sndPlaySound("C:\\blip.wav", SND_SYNC));
    EXPECT_TRUE(GetSoundStatus().output.startsWith("libpulse"))
        << GetSoundStatus().output.toStdString();
    std::this_thread::sleep_for(100ms);
    monitor.Stop();
    std::size_t heard = 0;
    for (std::size_t i = 0; i < monitor.Frames(); ++i) {
        heard += monitor.Sample(i, 0) == -0.25f ? 1 : 0;
    }
    EXPECT_GE(heard, 4000u);
    // Lost while idle, the output connects again by itself once the server is back.
    server.Kill();
    ASSERT_TRUE(WaitForSound([](const SoundStatus& s) { return !s.deviceOpen; }, 5s));
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(server.Start(folder.path()));
    EXPECT_TRUE(WaitForSound([](const SoundStatus& s) { return s.deviceOpen; }, 3s));
    // Closed before the server stops with the test, which would be a third loss.
    SetSoundIdleClose(1ms);
    EXPECT_TRUE(WaitForSound([](const SoundStatus& s) { return !s.deviceOpen; }, 5s));
}

} // namespace
