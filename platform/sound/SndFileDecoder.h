#pragma once
// A WAV file decoded with libsndfile, block by block, as a sound the sound service can play:
// every WAV variant libsndfile reads (PCM 8 to 32 bits, float, ADPCM, A-law, mu-law, GSM 6.10,
// WAVEX, RF64). Owns the open file and closes it when destroyed.

#include "platform/core/FileDescriptor.h"
#include "platform/sound/SoundSource.h"

#include <QByteArray>
#include <memory>
#include <vector>

struct sf_private_tag; // libsndfile's SNDFILE

namespace win32 {

class SndFileDecoder : public SoundSource {
public:
    // The decoder of the file at `posixPath`, or null when it is not a regular file, not a WAV
    // file, or not decodable. Never blocks on a FIFO or a device node.
    static std::unique_ptr<SndFileDecoder> Open(const QByteArray& posixPath);
    ~SndFileDecoder() override;

    SoundFormat Format() const override { return format_; }
    std::size_t Read(float* out, std::size_t frames) override;

private:
    struct Closer {
        void operator()(sf_private_tag* file) const;
    };
    SndFileDecoder(FileDescriptor fd, sf_private_tag* file, int fileChannels, SoundFormat format);

    FileDescriptor fd_; // closed after the decoder that reads it
    std::unique_ptr<sf_private_tag, Closer> file_;
    int fileChannels_ = 0;
    SoundFormat format_;
    std::vector<float> wide_; // frames of a file with more channels than are played
};

} // namespace win32
