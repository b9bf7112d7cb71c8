#include "platform/sound/soundfacts.h"

#include "platform/core/FileDescriptor.h"
#include "platform/files/paths.h"
#include "platform/sound/WaveHeader.h"

#include <algorithm>
#include <array>
#include <fcntl.h>
#include <memory>
#include <sndfile.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

namespace {

// The header chunks before the sound's data sit within the first few KiB of every file met.
constexpr std::size_t kHeaderBytes = 4096;

struct SndFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

SoundEncoding EncodingOf(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        return SoundEncoding::Pcm8;
    case SF_FORMAT_PCM_16:
        return SoundEncoding::Pcm16;
    case SF_FORMAT_PCM_24:
        return SoundEncoding::Pcm24;
    case SF_FORMAT_PCM_32:
        return SoundEncoding::Pcm32;
    case SF_FORMAT_FLOAT:
        return SoundEncoding::Float32;
    case SF_FORMAT_DOUBLE:
        return SoundEncoding::Float64;
    case SF_FORMAT_IMA_ADPCM:
        return SoundEncoding::ImaAdpcm;
    case SF_FORMAT_MS_ADPCM:
        return SoundEncoding::MsAdpcm;
    case SF_FORMAT_ALAW:
        return SoundEncoding::ALaw;
    case SF_FORMAT_ULAW:
        return SoundEncoding::MuLaw;
    case SF_FORMAT_GSM610:
        return SoundEncoding::Gsm610;
    default:
        return SoundEncoding::Other;
    }
}

bool IsBlockCodec(SoundEncoding encoding) {
    return encoding == SoundEncoding::ImaAdpcm || encoding == SoundEncoding::MsAdpcm ||
           encoding == SoundEncoding::Gsm610 || encoding == SoundEncoding::Other;
}

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
}

// The frame count of a RIFF file's "fact" chunk, found among the chunks before its data; 0
// when there is none. A block codec decodes its last block whole, so libsndfile counts the
// padding after the sound too, while the writer noted the sound's own length here.
std::int64_t FactFrames(int fd) {
    std::array<unsigned char, kHeaderBytes> header{};
    const ssize_t got = ::pread(fd, header.data(), header.size(), 0);
    if (got < 12 || std::string_view(reinterpret_cast<const char*>(header.data()), 4) != "RIFF")
        return 0;
    std::size_t at = 12;
    while (at + 8 <= static_cast<std::size_t>(got)) {
        const std::string_view id(reinterpret_cast<const char*>(header.data() + at), 4);
        const std::uint32_t size = LittleEndian32(header.data() + at + 4);
        if (id == "data")
            return 0;
        if (id == "fact")
            return size >= 4 && at + 12 <= static_cast<std::size_t>(got)
                       ? LittleEndian32(header.data() + at + 8)
                       : 0;
        at += 8 + std::size_t{size} + (size & 1);
    }
    return 0;
}

} // namespace

std::optional<SoundFacts> GetSoundFacts(const QString& path) {
    const std::optional<QByteArray> posix = ToPosixPath(path);
    if (!posix)
        return std::nullopt;
    // Opened without blocking and checked to be a regular file first, as the player does: a
    // FIFO or a device node named like a sound would otherwise hang the list under the pointer.
    FileDescriptor fd(::open(posix->constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.IsValid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK) != 0)
        return std::nullopt;
    SF_INFO sfInfo{};
    const std::unique_ptr<SNDFILE, SndFileCloser> file(
        sf_open_fd(fd.Get(), SFM_READ, &sfInfo, SF_FALSE));
    if (!file || !IsPlayableWave(sfInfo))
        return std::nullopt;
    SoundFacts facts;
    facts.rate = sfInfo.samplerate;
    facts.channels = sfInfo.channels;
    facts.encoding = EncodingOf(sfInfo.format);
    facts.frames = sfInfo.frames;
    // The noted length is trusted only below what decodes: a wrong note never lengthens a sound.
    if (IsBlockCodec(facts.encoding)) {
        const std::int64_t noted = FactFrames(fd.Get());
        if (noted > 0)
            facts.frames = std::min(facts.frames, noted);
    }
    return facts;
}

} // namespace win32
