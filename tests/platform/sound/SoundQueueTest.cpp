// The queue between the sound service and the output, as a listener hears what it gives out:
// a cut goes over to the new sound at once, the old one fades out and never comes back, and
// frames pass the ring's end in order.
#include "platform/sound/SoundQueue.h"

#include <gtest/gtest.h>
#include <vector>

using namespace win32;

namespace {

constexpr SoundFormat kMono{48000, 1}; // a fade is 144 frames

std::vector<float> Level(std::size_t frames, float value) {
    return std::vector<float>(frames, value);
}

std::vector<float> Pull(SoundQueue& queue, std::size_t frames) {
    std::vector<float> out(frames);
    queue.Pull(out.data(), frames);
    return out;
}

// Checks that `out` from `from` on falls from `old` + `now` to `now` over the fade, in small
// steps, and is `now` after it.
void ExpectFade(const std::vector<float>& out, std::size_t from, float old, float now) {
    for (std::size_t i = from; i < from + 144; ++i) {
        const float before = i == from ? old + now : out[i - 1];
        ASSERT_LT(std::abs(out[i] - before), 0.02f) << i;
        ASSERT_TRUE(old > 0 ? out[i] <= before : out[i] >= before) << i;
    }
    for (std::size_t i = from + 144; i < out.size(); ++i) {
        ASSERT_EQ(out[i], now) << i;
    }
}

TEST(SoundQueueTest, ACutGoesOverAtOnceAndTheOldSoundFadesOutNeverToComeBack) {
    SoundQueue queue;
    queue.Reset(kMono);
    const auto high = Level(1000, 0.5f);
    const auto low = Level(1000, -0.25f);
    queue.Replace(high.data(), high.size());
    EXPECT_EQ(Pull(queue, 100), Level(100, 0.5f));
    queue.Replace(low.data(), low.size());
    EXPECT_TRUE(queue.CutPending());
    const auto cut = Pull(queue, 600);
    ExpectFade(cut, 0, 0.5f, -0.25f);
    EXPECT_EQ(queue.Pulled(), 600u);
    // Stopping fades the new sound out in its turn, and leaves silence.
    queue.Replace(nullptr, 0);
    const auto stopped = Pull(queue, 1000);
    ExpectFade(stopped, 0, -0.25f, 0.0f);
}

TEST(SoundQueueTest, AnOutputThatHoldsFramesFadesOutWhatItHeldAndWaitsForTheCut) {
    SoundQueue queue;
    queue.Reset(kMono);
    const auto high = Level(200, 0.5f);
    const auto low = Level(1000, -0.25f);
    queue.Replace(high.data(), high.size());
    std::vector<float> out(400);
    queue.PullCurrent(out.data(), 100);
    queue.Replace(low.data(), low.size());
    // Going on with the sound begun: what is left of it, then silence, but not the new one.
    queue.PullCurrent(out.data(), 400);
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 100), Level(100, 0.5f));
    EXPECT_EQ(std::vector<float>(out.begin() + 100, out.end()), Level(300, 0.0f));
    EXPECT_TRUE(queue.CutPending());
    // The cut fades out what the output held there (0.75), not what the queue had left.
    const auto held = Level(144, 0.75f);
    queue.PullCut(out.data(), 400, held);
    ExpectFade(out, 0, 0.75f, -0.25f);
    EXPECT_FALSE(queue.CutPending());
}

TEST(SoundQueueTest, FramesPassTheRingsEndInOrder) {
    SoundQueue queue;
    queue.Reset({1000, 2}); // a ring of 2048 frames
    std::vector<float> in(2 * 700);
    std::vector<float> out(2 * 700);
    float next = 0;
    float expected = 0;
    queue.Replace(nullptr, 0);
    for (int round = 0; round < 10; ++round) {
        for (float& sample : in) {
            sample = next++ / 16384.0f;
        }
        ASSERT_GE(queue.Room(), 700u);
        queue.Push(in.data(), 700);
        queue.Pull(out.data(), 700);
        for (const float sample : out) {
            ASSERT_EQ(sample, expected++ / 16384.0f) << "round " << round;
        }
    }
}

} // namespace
