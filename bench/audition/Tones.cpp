#include "bench/audition/Tones.h"

#include "tests/support/audition/PulseServer.h"
#include "tests/support/audition/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace audition {

bool WriteTone(const QString& path, int format, int rate, int channels, double seconds,
               double amplitude) {
    return WriteWav(path, {rate, channels, format}, static_cast<std::size_t>(rate * seconds),
                    [&](std::size_t frame, int channel) {
                        return channel < 2 ? amplitude * std::cos(2.0 * std::numbers::pi * 1000.0 *
                                                                  static_cast<double>(frame) / rate)
                                           : 0.0;
                    });
}

Tone MeasureTone(const MonitorRecording& monitor, std::size_t from, std::size_t to, int channel) {
    Tone tone;
    double firstCrossing = -1;
    double lastCrossing = -1;
    int crossings = 0;
    double power = 0;
    for (std::size_t i = from + 1; i < to; ++i) {
        const double a = monitor.Sample(i - 1, channel);
        const double b = monitor.Sample(i, channel);
        power += b * b;
        if (a < 0 && b >= 0) {
            const double at = static_cast<double>(i - 1) + a / (a - b);
            firstCrossing = firstCrossing < 0 ? at : firstCrossing;
            lastCrossing = at;
            ++crossings;
        }
    }
    if (crossings < 2) {
        return tone;
    }
    tone.hertz = (crossings - 1) * kSinkRate / (lastCrossing - firstCrossing);
    // A sine at half scale has a mean square of 1/8.
    tone.levelDb = 10.0 * std::log10(power / static_cast<double>(to - from - 1) / 0.125);
    // The sine a cos + b sin of that frequency nearest to the samples, by least squares.
    const double omega = 2.0 * std::numbers::pi * tone.hertz / kSinkRate;
    double cc = 0, ss = 0, cs = 0, xc = 0, xs = 0;
    for (std::size_t i = from; i < to; ++i) {
        const double c = std::cos(omega * static_cast<double>(i));
        const double s = std::sin(omega * static_cast<double>(i));
        const double x = monitor.Sample(i, channel);
        cc += c * c, ss += s * s, cs += c * s, xc += x * c, xs += x * s;
    }
    const double det = cc * ss - cs * cs;
    const double a = (xc * ss - xs * cs) / det;
    const double b = (xs * cc - xc * cs) / det;
    double residual = 0;
    double signal = 0;
    for (std::size_t i = from; i < to; ++i) {
        const double fit = a * std::cos(omega * static_cast<double>(i)) +
                           b * std::sin(omega * static_cast<double>(i));
        const double x = monitor.Sample(i, channel);
        residual += (x - fit) * (x - fit);
        signal += fit * fit;
    }
    tone.snrDb = 10.0 * std::log10(signal / std::max(residual, 1e-30));
    return tone;
}

} // namespace audition
