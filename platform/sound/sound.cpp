#include "platform/sound/sound.h"

#include "platform/files/paths.h"
#include "platform/sound/SndFileDecoder.h"
#include "platform/sound/SoundChime.h"
#include "platform/sound/SoundService.h"

#include <QFile>
#include <thread>

namespace win32 {

namespace {

// Small, so that the first samples are ready within a millisecond or so.
constexpr std::size_t kFirstFrames = 2048;

// Decodes the first block of `source` into the request; false when there is nothing to play.
bool TakeFirstBlock(std::unique_ptr<SoundSource> source, SoundService::Request* request) {
    if (!source) {
        return false;
    }
    request->first.resize(kFirstFrames * static_cast<std::size_t>(source->Format().channels));
    request->firstFrames = source->Read(request->first.data(), kFirstFrames);
    request->source = std::move(source);
    return request->firstFrames > 0;
}

} // namespace

bool sndPlaySound(const QString& path, UINT flags) {
    SoundService& service = SoundService::Instance();
    if (path.isEmpty()) {
        service.Stop();
        return true;
    }
    SoundService::Request request;
    const std::optional<QByteArray> posixPath = ToPosixPath(path);
    if (posixPath) {
        request.path = QFile::decodeName(*posixPath);
    }
    if (!TakeFirstBlock(posixPath ? SndFileDecoder::Open(*posixPath) : nullptr, &request)) {
        if ((flags & SND_NODEFAULT) != 0) {
            service.Stop();
            return false;
        }
        request.isDefault = true;
        TakeFirstBlock(std::make_unique<SoundChime>(), &request);
    }
    const std::uint64_t number = service.Play(std::move(request));
    if ((flags & SND_ASYNC) == 0) {
        service.WaitUntilDone(number);
    }
    return true;
}

SoundStatus GetSoundStatus() {
    return SoundService::Instance().Status();
}

bool WaitForSound(const std::function<bool(const SoundStatus&)>& condition,
                  std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition(GetSoundStatus())) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void SetSoundIdleClose(std::chrono::milliseconds delay) {
    SoundService::Instance().SetIdleClose(delay);
}

} // namespace win32
