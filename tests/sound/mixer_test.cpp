#include <gtest/gtest.h>

#include "platform/sound/mixer.h"

namespace kiryuza::sound {
namespace {

// A clip whose left and right samples are given frame by frame.
Mixer::Clip clip(std::vector<std::int16_t> left, std::vector<std::int16_t> right = {}) {
    auto s = std::make_shared<std::vector<std::int16_t>>();
    for (std::size_t i = 0; i < left.size(); ++i) {
        s->push_back(left[i]);
        s->push_back(right.empty() ? left[i] : right[i]);
    }
    return s;
}

Mixer::Clip steady(std::int16_t level, std::size_t frames) {
    return clip(std::vector<std::int16_t>(frames, level));
}

// The left channel of the next `frames` frames.
std::vector<std::int16_t> left(Mixer& m, std::size_t frames) {
    std::vector<std::int16_t> out(2 * frames);
    m.render(out.data(), frames);
    std::vector<std::int16_t> l;
    for (std::size_t i = 0; i < frames; ++i) l.push_back(out[2 * i]);
    return l;
}

TEST(Mixer, OneShotVoicesOverlapAndEnd) {
    Mixer m;
    m.play(1, clip({10, 20, 30}, {-1, -2, -3}), false, false);
    m.play(2, clip({100, 100}), false, false);
    m.play(1, clip({1000}), false, false);  // the same key, overlapping
    std::vector<std::int16_t> out(8);
    m.render(out.data(), 4);
    EXPECT_EQ(out, (std::vector<std::int16_t>{1110, 1099, 120, 98, 30, -3, 0, 0}));
    EXPECT_EQ(m.voiceCount(), 0u);
}

TEST(Mixer, LoopsSeamlesslyAcrossRenderCalls) {
    Mixer m;
    m.play(7, clip({1, 2, 3, 4, 5}), true, true);
    std::vector<std::int16_t> all;
    for (int call = 0; call < 5; ++call) {
        const auto part = left(m, 3);
        all.insert(all.end(), part.begin(), part.end());
    }
    EXPECT_EQ(all, (std::vector<std::int16_t>{1, 2, 3, 4, 5, 1, 2, 3, 4, 5, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(m.looping(7));
    EXPECT_FALSE(m.looping(8));
}

TEST(Mixer, StopFadesOutWithoutAClick) {
    Mixer m;
    Mixer::Clip c = steady(8000, 10000);
    m.play(3, c, true, true);
    m.play(4, steady(5, 10000), false, false);
    left(m, 10);
    c.reset();  // a freed buffer: the fading voice keeps its samples alive
    m.stop(3);
    EXPECT_FALSE(m.looping(3));
    const auto fade = left(m, Mixer::kFadeFrames + 4);
    EXPECT_GT(fade.front(), 7900);
    for (std::size_t i = 1; i < fade.size(); ++i) {
        EXPECT_LE(fade[i], fade[i - 1]);
        EXPECT_LE(fade[i - 1] - fade[i], 8000 / static_cast<int>(Mixer::kFadeFrames) + 1);
    }
    EXPECT_EQ(fade.back(), 5);  // only the other key's voice is left
    EXPECT_EQ(m.voiceCount(), 1u);
}

TEST(Mixer, RestartReplacesTheKeysVoice) {
    Mixer m;
    m.play(1, steady(1000, 2000), false, true);
    left(m, 500);
    m.play(1, steady(1000, 2000), false, true);
    left(m, Mixer::kFadeFrames);
    EXPECT_EQ(m.voiceCount(), 1u);
    EXPECT_EQ(left(m, 1).front(), 1000);
}

TEST(Mixer, LimitsVoicesPerKey) {
    Mixer m;
    for (std::size_t i = 0; i < Mixer::kMaxVoicesPerKey + 3; ++i) {
        m.play(5, steady(100, 5000), false, false);
    }
    left(m, Mixer::kFadeFrames);
    EXPECT_EQ(m.voiceCount(), Mixer::kMaxVoicesPerKey);
    EXPECT_EQ(left(m, 1).front(), 100 * static_cast<int>(Mixer::kMaxVoicesPerKey));
}

TEST(Mixer, SumsAreHeldToTheSampleRange) {
    Mixer m;
    m.play(1, clip({30000, -30000}), false, false);
    m.play(2, clip({30000, -30000}), false, false);
    m.play(3, clip({32767, -32768}), false, false);
    EXPECT_EQ(left(m, 3), (std::vector<std::int16_t>{32767, -32768, 0}));
}

TEST(Mixer, IgnoresEmptyClipsAndClears) {
    Mixer m;
    m.play(1, nullptr, true, true);
    m.play(1, clip({}), true, true);
    EXPECT_EQ(m.voiceCount(), 0u);
    m.play(2, steady(9, 100), true, true);
    m.clear();
    EXPECT_EQ(left(m, 2), (std::vector<std::int16_t>{0, 0}));
}

}  // namespace
}  // namespace kiryuza::sound
