#include "platform/sound/SoundService.h"

#include <QByteArrayList>
#include <cstdio>
#include <cstdlib>

namespace win32 {

namespace {

constexpr std::size_t kBlockFrames = 8192;
// Decoded frames kept ahead of the device: enough to ride out a busy moment; a new sound skips
// whatever of them is left.
constexpr double kAheadSeconds = 0.25;
constexpr auto kRefillPeriod = std::chrono::milliseconds(20);

// A sound server is asked first unless SDL_AUDIODRIVER names another of SDL's drivers first
// (the tests' dummy and disk drivers, or ALSA chosen by hand).
bool AskSoundServer() {
    const QByteArray drivers = qgetenv("SDL_AUDIODRIVER");
    return drivers.isEmpty() || drivers.split(',').front().trimmed().toLower() == "pulseaudio";
}

} // namespace

SoundService& SoundService::Instance() {
    static SoundService service;
    return service;
}

SoundService::SoundService() : thread_(&SoundService::Run, this) {}

SoundService::~SoundService() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    done_.notify_all();
    thread_.join();
}

std::uint64_t SoundService::Play(Request request) {
    std::uint64_t number = 0;
    {
        const std::lock_guard lock(mutex_);
        number = ++requested_;
        pending_ = std::move(request);
        stopPending_ = false;
    }
    wake_.notify_one();
    done_.notify_all();
    return number;
}

void SoundService::Stop() {
    {
        const std::lock_guard lock(mutex_);
        ++requested_;
        pending_.reset();
        stopPending_ = true;
    }
    wake_.notify_one();
    done_.notify_all();
}

void SoundService::WaitUntilDone(std::uint64_t number) {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return quit_ || finished_ >= number || requested_ > number; });
}

SoundStatus SoundService::Status() {
    const std::lock_guard lock(mutex_);
    SoundStatus status = status_;
    status.framesHanded = active_ != nullptr && status.request != 0 ? active_->Handed() : 0;
    return status;
}

void SoundService::SetIdleClose(std::chrono::milliseconds delay) {
    {
        const std::lock_guard lock(mutex_);
        idleClose_ = delay;
    }
    wake_.notify_one();
}

void SoundService::Run() {
    const auto woken = [this] { return quit_ || pending_ || stopPending_; };
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (pending_ || stopPending_) {
            std::optional<Request> request = std::exchange(pending_, std::nullopt);
            const std::uint64_t number = requested_;
            stopPending_ = false;
            lock.unlock();
            if (request) {
                Begin(std::move(*request), number);
            } else {
                Halt(number);
            }
            lock.lock();
            continue;
        }
        if (source_) {
            lock.unlock();
            const bool over = Refill();
            lock.lock();
            if (over) {
                source_.reset();
                status_.playing = false;
                finished_ = std::max(finished_, playing_);
                idleSince_ = std::chrono::steady_clock::now();
                done_.notify_all();
            } else {
                wake_.wait_for(lock, kRefillPeriod, woken);
            }
            continue;
        }
        if (status_.deviceOpen) {
            // Idle with the device open: close it when nothing comes for a while.
            if (!wake_.wait_until(lock, idleSince_ + idleClose_, woken)) {
                device_->Close();
                device_ = nullptr;
                status_.deviceOpen = false;
                status_.output.clear();
                status_.deviceRate = 0;
                status_.deviceChannels = 0;
            }
            continue;
        }
        wake_.wait(lock, woken);
    }
    lock.unlock();
    pulse_.Shutdown();
    sdl_.Shutdown();
}

SoundBackend* SoundService::Output(const SoundFormat& format) {
    if (device_ != nullptr && device_->IsOpen()) {
        return device_;
    }
    if (device_ != nullptr) {
        device_->Close(); // lost, its server gone: the next output that opens takes over
    }
    if (AskSoundServer() && pulse_.Open(format)) {
        device_ = &pulse_;
    } else if (sdl_.Open(format)) {
        device_ = &sdl_;
    } else {
        device_ = nullptr;
        if (!warned_) {
            warned_ = true;
            std::fprintf(stderr, "zvonkar: no audio output, sounds are not played (%s)\n",
                         sdl_.LastError().toLocal8Bit().constData());
        }
        return &null_;
    }
    return device_;
}

void SoundService::Begin(Request request, std::uint64_t number) {
    const SoundFormat format = request.source->Format();
    SoundBackend* output = Output(format);
    if (active_ != nullptr && active_ != output) {
        active_->Stop();
    }
    // An output that drops sound, or cannot convert this one, has taken the request whole.
    const bool plays =
        output->Start(format, request.first.data(), request.firstFrames) && !output->Drops();
    const auto started = std::chrono::steady_clock::now();
    const std::lock_guard lock(mutex_);
    active_ = output;
    status_.request = number;
    status_.path = request.path;
    status_.defaultSound = request.isDefault;
    status_.playing = true;
    status_.framesQueued = request.firstFrames;
    status_.deviceOpen = device_ != nullptr;
    status_.deviceRate = output->DeviceFormat().rate;
    status_.deviceChannels = output->DeviceFormat().channels;
    status_.output = output->Name();
    status_.started = started;
    finished_ = std::max(finished_, number - 1);
    playing_ = number;
    source_ = plays ? std::move(request.source) : nullptr;
    sourceDone_ = false;
    if (!source_) {
        status_.playing = false;
        finished_ = number;
        idleSince_ = std::chrono::steady_clock::now();
        done_.notify_all();
    }
}

void SoundService::Halt(std::uint64_t number) {
    if (active_ != nullptr) {
        active_->Stop();
    }
    source_.reset();
    const std::lock_guard lock(mutex_);
    status_.playing = false;
    finished_ = std::max(finished_, number);
    idleSince_ = std::chrono::steady_clock::now();
    done_.notify_all();
}

bool SoundService::Refill() {
    const std::size_t channels = static_cast<std::size_t>(source_->Format().channels);
    block_.resize(kBlockFrames * channels);
    while (!sourceDone_ && active_->Feed() < kAheadSeconds) {
        const std::size_t frames = source_->Read(block_.data(), kBlockFrames);
        if (frames == 0) {
            sourceDone_ = true;
            active_->Finish();
            break;
        }
        active_->Queue(block_.data(), frames);
        const std::lock_guard lock(mutex_);
        status_.framesQueued += frames;
    }
    return sourceDone_ && active_->Feed() <= 0.0;
}

} // namespace win32
