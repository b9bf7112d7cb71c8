// What the PulseAudio output writes where, driven by a made-up stream clock against a model of
// the server's stream: a cut lands just past what the server mixed, the cut sound fades out
// from what the server held, and nothing of it is heard after.
#include "platform/sound/PulseStreamWriter.h"

#include <gtest/gtest.h>
#include <vector>

using namespace win32;

namespace {

// At 48 kHz: the server mixes 5 ms ahead, the writer leads by 3 ms and holds 50 ms.
constexpr SoundFormat kMono{48000, 1};
constexpr std::int64_t kMs = 48;

class PulseStreamWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        queue_.Reset(kMono);
        writer_.Reset(kMono, 0);
    }
    // The server's stream: what was written last at each position.
    void Pump(std::int64_t heard) {
        writer_.Pump({heard, heard + 5 * kMs}, queue_,
                     [&](std::int64_t at, const float* frames, std::size_t count) {
                         firstWrite_ = std::min(firstWrite_, at);
                         if (stream_.size() < static_cast<std::size_t>(at) + count) {
                             stream_.resize(static_cast<std::size_t>(at) + count);
                         }
                         std::copy_n(frames, count, stream_.begin() + at);
                     });
    }
    void Play(std::size_t frames, float level) {
        const std::vector<float> sound(frames, level);
        queue_.Replace(sound.data(), frames);
        firstWrite_ = INT64_MAX;
    }

    SoundQueue queue_;
    PulseStreamWriter writer_;
    std::vector<float> stream_;
    std::int64_t firstWrite_ = INT64_MAX;
};

TEST_F(PulseStreamWriterTest, AShortSoundCutsInJustPastWhatWasMixedAndLeavesNoOldTail) {
    Play(48000, 0.5f);
    for (std::int64_t heard = 0; heard <= 20 * kMs; heard += 5 * kMs) {
        Pump(heard);
    }
    ASSERT_GE(stream_.size(), static_cast<std::size_t>(70 * kMs));
    // Ten milliseconds of a new sound, 20 ms in: the server has mixed up to 25 ms.
    Play(10 * kMs, -0.25f);
    Pump(20 * kMs);
    const std::int64_t cut = 28 * kMs;
    EXPECT_EQ(firstWrite_, cut);
    // The first sound began just past the 5 ms mixed when it came, and plays up to the cut.
    for (std::int64_t i = 0; i < cut; ++i) {
        ASSERT_EQ(stream_[i], i < 8 * kMs ? 0.0f : 0.5f) << i;
    }
    // The old sound as the server held it falls over 3 ms to the new one's level...
    for (std::int64_t i = cut; i < cut + 3 * kMs; ++i) {
        ASSERT_LT(stream_[i], i == cut ? 0.25f : stream_[i - 1]) << i;
        ASSERT_GT(stream_[i], -0.25f) << i;
    }
    // ...then only the new sound, then silence, however long the writer goes on.
    for (std::int64_t heard = 25 * kMs; heard <= 200 * kMs; heard += 5 * kMs) {
        Pump(heard);
    }
    for (std::int64_t i = cut + 3 * kMs; i < static_cast<std::int64_t>(stream_.size()); ++i) {
        ASSERT_EQ(stream_[i], i < cut + 10 * kMs ? -0.25f : 0.0f) << i;
    }
    EXPECT_EQ(writer_.Unheard({cut + 9 * kMs, 0}), static_cast<std::size_t>(kMs));
    EXPECT_EQ(writer_.Unheard({cut + 10 * kMs, 0}), 0u);
    // A stop after the server ran past all that was written, with nothing to fade, is taken.
    Play(0, 0.0f);
    Pump(1000 * kMs);
    EXPECT_FALSE(queue_.CutPending());
}

} // namespace
