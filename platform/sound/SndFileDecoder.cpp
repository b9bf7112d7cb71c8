#include "platform/sound/SndFileDecoder.h"

#include "platform/sound/WaveHeader.h"

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

namespace {

constexpr int kMaxChannels = 8; // what the audio output converts

} // namespace

void SndFileDecoder::Closer::operator()(sf_private_tag* file) const {
    sf_close(file);
}

SndFileDecoder::SndFileDecoder(FileDescriptor fd, sf_private_tag* file, int fileChannels,
                               SoundFormat format)
    : fd_(std::move(fd)), file_(file), fileChannels_(fileChannels), format_(format) {}

SndFileDecoder::~SndFileDecoder() = default;

std::unique_ptr<SndFileDecoder> SndFileDecoder::Open(const QByteArray& posixPath) {
    // Opened without blocking and checked to be a regular file first: a FIFO or a device
    // node would otherwise hang the caller or be read for ever.
    FileDescriptor fd(::open(posixPath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.IsValid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK) != 0) {
        return nullptr;
    }
    // The descriptor stays ours (close_desc false), so it is closed exactly once.
    SF_INFO sfInfo{};
    std::unique_ptr<sf_private_tag, Closer> file(sf_open_fd(fd.Get(), SFM_READ, &sfInfo, SF_FALSE));
    if (!file || !IsPlayableWave(sfInfo)) {
        return nullptr;
    }
    // More channels than the output takes: the first two are played.
    const SoundFormat format{sfInfo.samplerate,
                             sfInfo.channels > kMaxChannels ? 2 : sfInfo.channels};
    return std::unique_ptr<SndFileDecoder>(
        new SndFileDecoder(std::move(fd), file.release(), sfInfo.channels, format));
}

std::size_t SndFileDecoder::Read(float* out, std::size_t frames) {
    const bool narrowed = fileChannels_ != format_.channels;
    float* target = out;
    if (narrowed) {
        wide_.resize(frames * static_cast<std::size_t>(fileChannels_));
        target = wide_.data();
    }
    const sf_count_t got = sf_readf_float(file_.get(), target, static_cast<sf_count_t>(frames));
    if (got <= 0) {
        return 0;
    }
    const auto count = static_cast<std::size_t>(got);
    const auto channels = static_cast<std::size_t>(format_.channels);
    if (narrowed) {
        for (std::size_t frame = 0; frame < count; ++frame) {
            std::copy_n(wide_.data() + frame * static_cast<std::size_t>(fileChannels_), channels,
                        out + frame * channels);
        }
    }
    // A float file may hold anything; the output's conversion expects numbers in range.
    for (std::size_t i = 0; i < count * channels; ++i) {
        out[i] = std::isnan(out[i]) ? 0.0f : std::clamp(out[i], -1.0f, 1.0f);
    }
    return count;
}

} // namespace win32
