// How soon a requested sound is heard, measured through a real sound server: the benchmark
// starts its own PulseAudio with a null sink (audition/PulseServer.h), plays through the
// program's own sound service, records the sink's monitor (audition/MonitorRecording.h tells how
// its frames are timed) and prints, as medians of interleaved runs, the time from the request to
// the new sound's first sample at the monitor: with the device closed, with the device open after
// an 8 kHz and after a 48 kHz sound, and when replacing a sound that is playing, next to
// paplay's time from its process start to its first sample, measured on the same recording.
// Then it plays a 10 s sine while two busy loops load both cores and prints the longest gap in
// it, and plays a 1 kHz sine in every WAV variant and prints the frequency, level and noise that
// reached the sink.
//
// Every measured sound begins at full level (a cosine at half scale), and the sound it replaces
// stays at a fifth of scale, so the new sound's first sample is the first one above a quarter of
// scale after the request.
//
// Usage: bench_audition [runs of each case, 15 by default]
#include "bench/audition/Tones.h"
#include "platform/files/drives.h"
#include "platform/sound/sound.h"
#include "tests/support/audition/Clock.h"
#include "tests/support/audition/MonitorRecording.h"
#include "tests/support/audition/PulseServer.h"
#include "tests/support/audition/WavVariants.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sndfile.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;
using namespace audition;
using namespace win32;

namespace {

constexpr float kLoud = 0.25f;

enum Case { kClosed, kAfter8k, kAfter48k, kReplacing, kPaplay, kCases };
const char* const kCaseNames[kCases] = {
    "device closed", "device open after an 8 kHz sound", "device open after a 48 kHz sound",
    "replacing a sound that is playing", "paplay, process start to sound"};

const std::span<const WavVariant> kVariants = WavVariants();

std::mt19937 randomness(13);
std::uint64_t requested = 0; // number of the newest request

// A pause of random length, so that requests fall anywhere in the device's period.
void Pause() {
    Sleep(std::uniform_real_distribution<double>(0.2, 0.5)(randomness));
}

// Asks for a sound; returns when it was asked.
double Request(const QString& path) {
    const double now = Now();
    sndPlaySound(path, SND_ASYNC);
    ++requested;
    return now;
}

void WaitUntilPlayed() {
    WaitForSound([](const SoundStatus& s) { return s.request >= requested && !s.playing; }, 30s);
}

void CloseDevice() {
    WaitUntilPlayed();
    SetSoundIdleClose(50ms);
    WaitForSound([](const SoundStatus& s) { return !s.deviceOpen; }, 30s);
    SetSoundIdleClose(3000ms);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? NAN : values[values.size() / 2];
}

int Fail(const char* what) {
    std::fprintf(stderr, "bench_audition: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir folder;
    if (!folder.isValid()) {
        return Fail("no temporary folder");
    }
    PulseServer server;
    if (!server.Start(folder.path())) {
        return Fail("PulseAudio did not start (scripts/setup installs it)");
    }
    MonitorRecording monitor;
    if (!monitor.Start()) {
        return Fail("parec records nothing from the sink's monitor");
    }
    setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
    setenv("ZVONKAR_DRIVES", ("C=" + QFile::encodeName(folder.path())).constData(), 1);
    ReloadDriveMap();
    const QString dir = folder.path() + "/";
    const int pcm16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    bool written = WriteTone(dir + "probe8.wav", pcm16, 8000, 1, 0.2, 0.5) &&
                   WriteTone(dir + "probe48.wav", pcm16, 48000, 2, 0.2, 0.5) &&
                   WriteTone(dir + "under.wav", pcm16, 44100, 2, 10.0, 0.1) &&
                   WriteTone(dir + "sine.wav", pcm16, 44100, 2, 10.0, 0.5);
    for (const WavVariant& v : kVariants) {
        written = written && WriteTone(dir + v.file, v.wav.format, v.wav.rate, v.wav.channels,
                                       kVariantSeconds, 0.5);
    }
    if (!written) {
        return Fail("cannot write the test sounds");
    }

    // The cases, round by round, so that they share the machine's moods.
    const double firstRequest = Request("C:\\probe48.wav");
    WaitUntilPlayed();
    const SoundStatus opened = GetSoundStatus();
    std::vector<std::pair<Case, double>> trials;
    for (int run = 0; run < runs; ++run) {
        CloseDevice();
        Pause();
        trials.emplace_back(kClosed, Request("C:\\probe48.wav"));

        CloseDevice();
        Pause();
        const double spawned = Now();
        ChildProcess paplay({"paplay", QFile::encodeName(dir + "probe48.wav").toStdString()});
        if (paplay.Wait() != 0) {
            return Fail("paplay failed");
        }
        trials.emplace_back(kPaplay, spawned);

        for (const auto& [kase, path] :
             {std::pair{kAfter8k, "C:\\probe8.wav"}, std::pair{kAfter48k, "C:\\probe48.wav"}}) {
            CloseDevice();
            Request(path);
            WaitUntilPlayed();
            Pause();
            trials.emplace_back(kase, Request(path));
        }

        WaitUntilPlayed();
        Request("C:\\under.wav");
        Pause();
        trials.emplace_back(kReplacing, Request("C:\\probe48.wav"));
    }

    // Two busy loops, one for each core, while a long sine plays.
    WaitUntilPlayed();
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    double sineRequest = 0;
    {
        const ChildProcess busy1({"yes"}, devNull);
        const ChildProcess busy2({"yes"}, devNull);
        Sleep(1.0);
        sineRequest = Request("C:\\sine.wav");
        WaitUntilPlayed();
    }
    close(devNull);

    std::vector<double> variantRequests;
    for (const WavVariant& v : kVariants) {
        Pause();
        variantRequests.push_back(Request(QString("C:\\") + v.file));
        WaitUntilPlayed();
    }
    Sleep(0.3);
    monitor.Stop();
    // Closed before the server stops with the benchmark.
    CloseDevice();

    const auto latency = [&](double request) {
        const std::size_t from = monitor.Frame(request - 0.02);
        const std::size_t to = monitor.Frame(request + 1.0);
        const std::size_t first = monitor.FirstLoud(from, to, kLoud);
        return first < to ? (monitor.Time(first) - request) * 1000.0 : NAN;
    };
    std::vector<double> byCase[kCases];
    for (const auto& [kase, request] : trials) {
        byCase[kase].push_back(latency(request));
    }
    std::printf("PulseAudio with a null sink (float32le, %d channels, %d Hz); the sound "
                "service's output: %s, %d Hz, %d channels\n",
                kSinkChannels, kSinkRate, opened.output.toUtf8().constData(), opened.deviceRate,
                opened.deviceChannels);
    std::printf("first request of the process (the output starts up): %.1f ms\n",
                latency(firstRequest));
    std::printf(
        "\nrequest to the first sample at the monitor, %d runs, ms   median    min    max\n", runs);
    for (int c = 0; c < kCases; ++c) {
        const auto [low, high] = std::minmax_element(byCase[c].begin(), byCase[c].end());
        std::printf("%-56s %7.1f %6.1f %6.1f\n", kCaseNames[c], Median(byCase[c]), *low, *high);
    }

    // The sine under load: its drop-outs between its first and last loud frames.
    const std::size_t sineFirst = monitor.FirstLoud(monitor.Frame(sineRequest),
                                                    monitor.Frame(variantRequests.front()), kLoud);
    const std::size_t sineEnd =
        monitor.EndOfLoud(sineFirst, monitor.Frame(variantRequests.front()), kLoud);
    std::size_t longestGap = 0;
    std::size_t allGaps = 0;
    const auto gaps = monitor.Gaps(sineFirst, sineEnd);
    for (const auto& [first, end] : gaps) {
        longestGap = std::max(longestGap, end - first);
        allGaps += end - first;
    }
    const double gapMs = 1000.0 * static_cast<double>(longestGap) / kSinkRate;
    std::printf("\n10 s sine, two busy loops on both cores: longest gap %.2f ms; %zu drop-outs, "
                "%.1f ms in all; heard for %.3f s\n",
                gapMs, gaps.size(), 1000.0 * static_cast<double>(allGaps) / kSinkRate,
                static_cast<double>(sineEnd - sineFirst) / kSinkRate);

    // Each variant measured on its longest stretch without a drop-out, so that the conversion
    // shows apart from the server's drop-outs, which are counted on their own.
    std::printf("\n1 kHz sine at half scale in each WAV variant, at the monitor (level against "
                "the file's own)\n%-32s %9s %9s %8s %8s %6s %6s %5s\n",
                "variant", "Hz left", "Hz right", "dB left", "dB right", "SNR L", "SNR R", "gaps");
    for (std::size_t v = 0; v < kVariants.size(); ++v) {
        const std::size_t to = v + 1 < variantRequests.size()
                                   ? monitor.Frame(variantRequests[v + 1])
                                   : monitor.Frames();
        const std::size_t first = monitor.FirstLoud(monitor.Frame(variantRequests[v]), to, 0.05f);
        // Not past the tone: the block codecs pad their last block with what decodes as noise.
        const std::size_t end =
            std::min(monitor.EndOfLoud(first, to, 0.05f),
                     first + static_cast<std::size_t>(kSinkRate * kVariantSeconds));
        const auto variantGaps = monitor.Gaps(first, end);
        std::pair<std::size_t, std::size_t> stretch{first, first};
        std::size_t from = first;
        for (std::size_t g = 0; g <= variantGaps.size(); ++g) {
            const std::size_t until = g < variantGaps.size() ? variantGaps[g].first : end;
            if (until - from > stretch.second - stretch.first) {
                stretch = {from, until};
            }
            from = g < variantGaps.size() ? variantGaps[g].second : end;
        }
        // Away from its edges.
        const std::size_t margin =
            std::min<std::size_t>((stretch.second - stretch.first) / 5, kSinkRate / 20);
        const Tone left = MeasureTone(monitor, stretch.first + margin, stretch.second - margin, 0);
        const Tone right = MeasureTone(monitor, stretch.first + margin, stretch.second - margin, 1);
        std::printf("%-32s %9.2f %9.2f %8.2f %8.2f %6.1f %6.1f %5zu\n", kVariants[v].name,
                    left.hertz, right.hertz, left.levelDb, right.levelDb, left.snrDb, right.snrDb,
                    variantGaps.size());
    }

    const double paplay = Median(byCase[kPaplay]);
    bool met = Median(byCase[kClosed]) <= 25.0 && gapMs <= 1.0;
    for (const int c : {kAfter8k, kAfter48k, kReplacing}) {
        met = met && Median(byCase[c]) <= 15.0 && Median(byCase[c]) <= paplay / 2;
    }
    std::printf("\ntargets (open device at most 15 ms and half of paplay's %.1f ms, closed at most "
                "25 ms, no gap over 1 ms): %s\n",
                paplay, met ? "met" : "NOT met");
    return 0;
}
