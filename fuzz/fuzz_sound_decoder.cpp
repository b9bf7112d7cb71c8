// Bytes from the fuzzer as a file named x.wav, opened and decoded to the end by the program's
// decoder: a damaged or hostile sound file must be refused or decoded, never crash or hang.

#include "platform/sound/SndFileDecoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kBlockFrames = 1024;
// A header may promise any length; this many frames prove the decoder walks the data.
constexpr std::size_t kMaxFrames = 1 << 16;
constexpr std::size_t kMaxChannels = 8;

// The folder of x.wav, for the whole run; removed when the run ends. In memory when the
// machine offers it: the file is written and opened again for every input.
QTemporaryDir& Folder() {
    static QTemporaryDir folder(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                    ? QStringLiteral("/dev/shm/zvonkar-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/zvonkar-fuzz-XXXXXX"));
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!Folder().isValid()) {
        std::fprintf(stderr, "fuzz_sound_decoder: cannot create a temporary folder\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = Folder().filePath(QStringLiteral("x.wav"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
                static_cast<qint64>(size))
            std::abort();
    }
    const auto decoder = win32::SndFileDecoder::Open(QFile::encodeName(path));
    if (!decoder)
        return 0;
    const win32::SoundFormat format = decoder->Format();
    if (format.channels < 1 || static_cast<std::size_t>(format.channels) > kMaxChannels ||
        format.rate <= 0)
        std::abort();
    // One buffer for the whole run: allocating it anew for every input costs more than decoding.
    static std::vector<float> block(kBlockFrames * kMaxChannels);
    std::size_t total = 0;
    while (total < kMaxFrames) {
        const std::size_t got = decoder->Read(block.data(), kBlockFrames);
        if (got == 0)
            break;
        if (got > kBlockFrames)
            std::abort();
        // The output expects finite samples in [-1, 1] whatever the file holds.
        for (std::size_t i = 0; i < got * static_cast<std::size_t>(format.channels); ++i) {
            if (!(block[i] >= -1.0f && block[i] <= 1.0f))
                std::abort();
        }
        total += got;
    }
    return 0;
}
