// How quickly the sound service starts a sound, and whether that depends on the file's length:
// for WAV files of one second, ten minutes and 1 GiB it prints the time from the play request
// until the first decoded frames are ready for the audio device, and the time for a new
// request to replace a sound playing (medians of several runs). Uses SDL's dummy driver unless
// SDL_AUDIODRIVER says otherwise.
#include "platform/files/drives.h"
#include "platform/sound/sound.h"
#include "tests/support/audition/WavWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace std::chrono;
using namespace win32;

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kFrameBytes = kChannels * 2;
constexpr int kRuns = 15;

// A 16-bit stereo WAV file of `dataBytes` bytes of sound (a quiet saw tone).
bool WriteSaw(const QString& path, qint64 dataBytes) {
    return audition::WriteWav(path, {kRate, kChannels, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                              static_cast<std::size_t>(dataBytes / kFrameBytes),
                              [](std::size_t frame, int channel) {
                                  const std::size_t sample = 2 * frame + channel;
                                  return static_cast<double>(sample % 64) / 128.0 - 0.25;
                              });
}

double Milliseconds(steady_clock::duration duration) {
    return duration_cast<microseconds>(duration).count() / 1000.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Timing {
    double call;  // until sndPlaySound returned
    double ready; // until the first frames were given to the output
};

// Requests `path` and waits until its first frames have been given to the output.
Timing TimeToFirstFrames(const QString& path) {
    const std::uint64_t next = GetSoundStatus().request + 1;
    const auto start = steady_clock::now();
    sndPlaySound(path, SND_ASYNC | SND_NODEFAULT);
    const double call = Milliseconds(steady_clock::now() - start);
    SoundStatus status;
    WaitForSound(
        [&](const SoundStatus& s) {
            status = s;
            return s.request >= next;
        },
        seconds(10));
    return {call, Milliseconds(status.started - start)};
}

void WaitUntilHanded() {
    WaitForSound([](const SoundStatus& s) { return s.framesHanded > 0; }, seconds(10));
}

} // namespace

int main() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "bench_sound: no temporary folder\n");
        return 1;
    }
    setenv("ZVONKAR_DRIVES", ("C=" + QFile::encodeName(folder.path())).constData(), 1);
    ReloadDriveMap();

    struct Sample {
        const char* name;
        const char* file;
        qint64 dataBytes;
    };
    const Sample samples[] = {
        {"1 second", "second.wav", qint64{kRate} * kFrameBytes},
        {"10 minutes", "minutes.wav", qint64{kRate} * kFrameBytes * 600},
        {"1 GiB", "gigabyte.wav", (qint64{1} << 30) - 44},
    };
    std::printf("Generating the files in %s ...\n", qPrintable(folder.path()));
    for (const Sample& sample : samples) {
        if (!WriteSaw(folder.path() + "/" + sample.file, sample.dataBytes)) {
            std::fprintf(stderr, "bench_sound: cannot write %s\n", sample.file);
            return 1;
        }
    }

    // The first request also opens the audio device; it is shown on its own.
    std::printf("first request, opening the device: %.3f ms\n",
                TimeToFirstFrames("C:\\second.wav").ready);
    std::printf("\nmedians of %d runs, in ms: the call's return, then the first frames ready\n",
                kRuns);
    std::printf("%-12s %10s %10s %16s %10s\n", "file", "call", "ready", "replacing: call", "ready");
    for (const Sample& sample : samples) {
        const QString path = QString("C:\\") + sample.file;
        std::vector<double> startCall;
        std::vector<double> start;
        std::vector<double> replaceCall;
        std::vector<double> replace;
        for (int run = 0; run < kRuns; ++run) {
            sndPlaySound(QString(), SND_ASYNC);
            WaitForSound([](const SoundStatus& s) { return !s.playing; }, seconds(10));
            const Timing fresh = TimeToFirstFrames(path);
            startCall.push_back(fresh.call);
            start.push_back(fresh.ready);
            WaitUntilHanded();
            // Replace the playing sound by the same file from its start.
            const Timing replacing = TimeToFirstFrames(path);
            replaceCall.push_back(replacing.call);
            replace.push_back(replacing.ready);
            WaitUntilHanded();
        }
        std::printf("%-12s %10.3f %10.3f %16.3f %10.3f\n", sample.name, Median(startCall),
                    Median(start), Median(replaceCall), Median(replace));
    }
    sndPlaySound(QString(), SND_ASYNC);
    return 0;
}
