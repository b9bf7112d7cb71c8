#pragma once
// The benchmark's test sound, a 1 kHz tone: written into WAV files of any variant, and measured
// where it comes out.

#include "tests/support/audition/MonitorRecording.h"

#include <QString>

namespace audition {

// Writes `seconds` of the tone at `amplitude` in `format` (libsndfile's), in the first two
// channels (or the one). It starts at its peak, so that its first sample is a loud one.
bool WriteTone(const QString& path, int format, int rate, int channels, double seconds,
               double amplitude);

// One channel of the monitor between two frames, taken as a sine: its frequency from the rising
// zero crossings, its level against the tone at half scale, and its signal-to-noise ratio, what
// is left once the best fitting sine of that frequency is taken out.
struct Tone {
    double hertz = 0;
    double levelDb = 0;
    double snrDb = 0;
};
Tone MeasureTone(const MonitorRecording& monitor, std::size_t from, std::size_t to, int channel);

} // namespace audition
