#include "tests/support/audition/WavWriter.h"

#include <QFile>
#include <QtEndian>
#include <memory>
#include <vector>

namespace audition {

bool WriteWav(const QString& path, const WavSpec& wav, std::size_t frames,
              const SampleAt& sample) {
    SF_INFO info{};
    info.samplerate = wav.rate;
    info.channels = wav.channels;
    info.format = wav.format;
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(
        sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info), &sf_close);
    if (!file) {
        return false;
    }
    // In blocks, so that a file of a gigabyte needs no more memory than a short one.
    constexpr std::size_t kBlock = 4096;
    const auto width = static_cast<std::size_t>(wav.channels);
    std::vector<double> block(kBlock * width);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t count = std::min(kBlock, frames - done);
        for (std::size_t i = 0; i < count; ++i) {
            for (int channel = 0; channel < wav.channels; ++channel) {
                block[i * width + static_cast<std::size_t>(channel)] = sample(done + i, channel);
            }
        }
        if (sf_writef_double(file.get(), block.data(), static_cast<sf_count_t>(count)) !=
            static_cast<sf_count_t>(count)) {
            return false;
        }
        done += count;
    }
    return true;
}

bool ClaimDataBytes(const QString& path, std::uint32_t bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        return false;
    }
    const qsizetype data = file.peek(4096).indexOf("data");
    char size[4];
    qToLittleEndian(bytes, size);
    return data >= 0 && file.seek(data + 4) && file.write(size, 4) == 4;
}

} // namespace audition
