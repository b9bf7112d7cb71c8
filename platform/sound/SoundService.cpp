#include "platform/sound/SoundService.h"

#include "platform/sound/NullSoundBackend.h"
#include "platform/sound/PulseSoundBackend.h"
#include "platform/sound/SdlSoundBackend.h"

#include <QByteArrayList>
#include <QStringList>
#include <algorithm>
#include <cstdio>

namespace win32 {

namespace {

constexpr std::size_t kBlockFrames = 8192;
// Decoded frames kept ahead of the output: enough to ride out a busy moment; a new sound skips
// whatever of them is left.
constexpr double kAheadSeconds = 0.25;
constexpr auto kRefillPeriod = std::chrono::milliseconds(20);
// How soon an idle output that was lost is noticed.
constexpr auto kLostCheck = std::chrono::milliseconds(100);
// The first wait before a lost output is connected again, and the longest.
constexpr auto kFirstRetry = std::chrono::milliseconds(100);
constexpr auto kLongestRetry = std::chrono::milliseconds(1600);

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

SoundService::SoundService() {
    outputs_.push_back({"PulseAudio", std::make_unique<PulseSoundBackend>(), &AskSoundServer});
    outputs_.push_back({"SDL", std::make_unique<SdlSoundBackend>(), nullptr});
    outputs_.push_back({"none", std::make_unique<NullSoundBackend>(), nullptr});
    thread_ = std::thread(&SoundService::Run, this);
}

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
    status.framesHanded = status.request != 0 && !dropped_ ? feed_.Handed() : 0;
    status.deviceOpen = format_.rate > 0;
    status.deviceRate = format_.rate;
    status.deviceChannels = format_.channels;
    status.output = output_ != nullptr ? output_->Name() : QString();
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
                Ended(playing_);
            } else {
                wake_.wait_for(lock, kRefillPeriod, woken);
            }
            continue;
        }
        if (output_ != nullptr) {
            // Idle with the output open: close it when nothing comes for a while.
            const Clock::time_point closing = idleSince_ + idleClose_;
            if (!wake_.wait_until(lock, std::min(closing, Clock::now() + kLostCheck), woken)) {
                lock.unlock();
                if (!CheckLost() && Clock::now() >= closing) {
                    CloseOutput();
                }
                lock.lock();
            }
            continue;
        }
        if (reconnect_) {
            if (!wake_.wait_until(lock, reconnect_->next, woken)) {
                lock.unlock();
                TryReconnect();
                lock.lock();
            }
            continue;
        }
        wake_.wait(lock, woken);
    }
    lock.unlock();
    CloseOutput();
    // Destroyed here, on the thread whose state their libraries keep.
    outputs_.clear();
}

void SoundService::OpenOutput(const SoundFormat& wanted) {
    QStringList passedOver;
    for (Choice& choice : outputs_) {
        QString why;
        if (choice.asked != nullptr && !choice.asked()) {
            passedOver
                << QStringLiteral("%1: SDL_AUDIODRIVER names another driver").arg(choice.name);
            continue;
        }
        const std::optional<SoundFormat> format = choice.output->Open(wanted, feed_.Queue(), why);
        if (!format) {
            passedOver << QStringLiteral("%1: %2").arg(choice.name, why);
            continue;
        }
        if (format->rate == 0 && !warned_) {
            warned_ = true;
            std::fprintf(stderr, "zvonkar: no audio output, sounds are not played (%s)\n",
                         passedOver.join("; ").toLocal8Bit().constData());
        }
        SetOutput(choice.output.get(), *format);
        return;
    }
}

void SoundService::SetOutput(SoundBackend* output, const SoundFormat& format) {
    const std::lock_guard lock(mutex_);
    output_ = output;
    format_ = format;
    idleSince_ = Clock::now();
}

void SoundService::CloseOutput() {
    SoundBackend* output = nullptr;
    {
        const std::lock_guard lock(mutex_);
        output = std::exchange(output_, nullptr);
        format_ = {};
    }
    if (output != nullptr) {
        output->Close();
        feed_.Drop();
    }
}

bool SoundService::CheckLost() {
    const QString why = output_ != nullptr ? output_->LostBecause() : QString();
    if (why.isEmpty()) {
        return false;
    }
    const auto name = std::find_if(outputs_.begin(), outputs_.end(), [&](const Choice& choice) {
                          return choice.output.get() == output_;
                      })->name;
    std::fprintf(stderr, "zvonkar: %s output lost%s (%s)\n", name,
                 source_ ? ", the sound playing is dropped" : "", why.toLocal8Bit().constData());
    Reconnect again{output_, {}, kFirstRetry, {}, format_};
    CloseOutput();
    const std::lock_guard lock(mutex_);
    again.next = Clock::now() + again.wait;
    // It is connected again for as long as it would have stayed open.
    again.until = Clock::now() + std::max<Clock::duration>(idleClose_, kFirstRetry);
    reconnect_ = again;
    return true;
}

void SoundService::TryReconnect() {
    Reconnect& again = *reconnect_;
    QString why;
    if (const auto format = again.output->Open(again.format, feed_.Queue(), why)) {
        reconnect_.reset();
        SetOutput(again.output, *format);
        return;
    }
    again.wait = std::min<Clock::duration>(again.wait * 2, kLongestRetry);
    again.next = Clock::now() + again.wait;
    if (again.next > again.until) {
        reconnect_.reset();
    }
}

void SoundService::Begin(Request request, std::uint64_t number) {
    const SoundFormat format = request.source->Format();
    CheckLost();
    // The request finds its own output.
    reconnect_.reset();
    if (output_ == nullptr) {
        OpenOutput(format);
    }
    // An output that drops sound, or cannot convert this one, has taken the request whole.
    const bool drops = format_.rate == 0;
    const bool plays = !drops && feed_.Start(format, request.first.data(), request.firstFrames);
    if (!drops) {
        if (plays) {
            feed_.Replace();
        } else {
            feed_.Stop();
        }
        output_->Cut();
    }
    const auto started = Clock::now();
    {
        const std::lock_guard lock(mutex_);
        status_.request = number;
        status_.path = request.path;
        status_.defaultSound = request.isDefault;
        status_.playing = true;
        status_.framesQueued = request.firstFrames;
        status_.started = started;
        dropped_ = drops;
        finished_ = std::max(finished_, number - 1);
        playing_ = number;
        source_ = plays ? std::move(request.source) : nullptr;
        sourceDone_ = false;
        if (!source_) {
            Ended(number);
        }
    }
    if (drops) {
        // Every request looks for an output again.
        CloseOutput();
    }
}

void SoundService::Halt(std::uint64_t number) {
    if (format_.rate > 0) {
        feed_.Stop();
        output_->Cut();
    }
    source_.reset();
    const std::lock_guard lock(mutex_);
    Ended(number);
}

void SoundService::Ended(std::uint64_t number) {
    status_.playing = false;
    finished_ = std::max(finished_, number);
    idleSince_ = Clock::now();
    done_.notify_all();
}

std::size_t SoundService::Ahead() {
    feed_.Pass();
    output_->Pull();
    return feed_.Unpulled() + output_->Unheard();
}

bool SoundService::Refill() {
    if (CheckLost()) {
        return true;
    }
    const auto channels = static_cast<std::size_t>(source_->Format().channels);
    const auto ahead = static_cast<std::size_t>(format_.rate * kAheadSeconds);
    block_.resize(kBlockFrames * channels);
    while (!sourceDone_ && Ahead() < ahead) {
        const std::size_t frames = source_->Read(block_.data(), kBlockFrames);
        if (frames == 0) {
            sourceDone_ = true;
            feed_.Finish();
            break;
        }
        feed_.Convert(block_.data(), frames);
        const std::lock_guard lock(mutex_);
        status_.framesQueued += frames;
    }
    return sourceDone_ && Ahead() == 0;
}

} // namespace win32
