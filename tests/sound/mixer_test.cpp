#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/sound/mixer.h"
#include "platform/sound/output_thread.h"

namespace kiryuza::sound {
namespace {

// A stereo clip at the output rate whose left and right samples are given frame by frame.
Mixer::Clip clip(std::vector<std::int16_t> left, std::vector<std::int16_t> right = {}) {
    auto c = std::make_shared<PcmClip>(PcmClip{kOutputRate, 2, {}});
    for (std::size_t i = 0; i < left.size(); ++i) {
        c->samples.push_back(left[i]);
        c->samples.push_back(right.empty() ? left[i] : right[i]);
    }
    return c;
}

Mixer::Clip mono(std::uint32_t rate, std::vector<std::int16_t> samples) {
    return std::make_shared<PcmClip>(PcmClip{rate, 1, std::move(samples)});
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

// The mix is exact up to the knee; above it, it keeps rising with the sum but never leaves
// the 16-bit range nor jumps, so loud overlaps bend instead of clipping.
TEST(Mixer, LoudSumsBendSmoothlyIntoTheSampleRange) {
    std::int16_t previous = bend(-200000);
    EXPECT_GE(previous, -32767);
    for (std::int32_t sum = -200000; sum <= 200000; sum += 7) {
        const std::int16_t out = bend(sum);
        if (std::abs(sum) <= Mixer::kKnee) {
            ASSERT_EQ(out, sum);
        }
        ASSERT_GE(out, previous) << sum;
        ASSERT_LE(out - previous, 7) << sum;
        ASSERT_EQ(bend(-sum), -out);
        previous = out;
    }
    EXPECT_LE(previous, 32767);
    EXPECT_GT(bend(3 * 32767), 32000);

    Mixer m;
    for (std::int32_t key : {1, 2, 3}) m.play(key, clip({30000, -30000}), false, false);
    const auto out = left(m, 3);
    EXPECT_EQ(out, (std::vector<std::int16_t>{bend(90000), bend(-90000), 0}));
}

// A clip below the output rate plays for its own duration, each output frame on the straight
// line between its two neighbours in the clip; mono sounds on both sides.
TEST(Mixer, ConvertsRateAndChannelsAsItPlays) {
    Mixer m;
    m.play(1, mono(kOutputRate / 2, {0, 100, 300, -300}), false, false);
    std::vector<std::int16_t> out(2 * 10);
    m.render(out.data(), 10);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 0, 50,   50,   100,  100,  200, 200, 300, 300,
                                              0, 0, -300, -300, -300, -300, 0,   0,   0,   0}));
    EXPECT_EQ(m.voiceCount(), 0u);
}

// Looping a clip of whole sine periods at another rate gives an unbroken sine: no step at the
// loop point bigger than the sine's own steps, and the loop keeps its length.
TEST(Mixer, LoopsAClipAtAnotherRateWithoutABreak) {
    constexpr std::uint32_t rate = 32000;
    constexpr std::size_t frames = 3200;  // ten periods of 100 Hz
    std::vector<std::int16_t> s(frames);
    for (std::size_t i = 0; i < frames; ++i)
        s[i] = static_cast<std::int16_t>(
            std::lround(12000 * std::sin(2 * std::numbers::pi * 100.0 * i / rate)));
    Mixer m;
    m.play(1, mono(rate, s), true, true, frames - 50);
    const auto out = left(m, 3 * kOutputRate / 10 * 3);  // 0.9 s: about nine loops
    const double largestStep = 12000 * 2 * std::numbers::pi * 100.0 / kOutputRate;
    for (std::size_t i = 1; i < out.size(); ++i)
        ASSERT_LE(std::abs(out[i] - out[i - 1]), largestStep + 2) << "at frame " << i;
    // It began 50 clip frames before the loop point: a quarter period later it crossed zero
    // rising, as the clip's first frame does.
    const std::size_t atLoop = static_cast<std::size_t>(std::lround(50.0 * kOutputRate / rate));
    EXPECT_LE(std::abs(out[atLoop]), largestStep + 2);
    EXPECT_GT(out[atLoop + 10], out[atLoop]);
}

TEST(Mixer, TellsItsListenerWhenAVoiceStarts) {
    Mixer m;
    int started = 0;
    m.setStartListener([&started] { ++started; });
    m.play(1, clip({1, 2}), false, false);
    m.play(1, nullptr, false, false);
    m.play(2, mono(96000, {1, 2}), false, false);  // refused: above the output rate
    EXPECT_EQ(started, 1);
    m.setStartListener({});
    m.play(3, clip({1}), false, false);
    EXPECT_EQ(started, 1);
}

TEST(Mixer, IgnoresEmptyClipsAndClears) {
    Mixer m;
    m.play(1, nullptr, true, true);
    m.play(1, clip({}), true, true);
    m.play(1, std::make_shared<PcmClip>(PcmClip{kOutputRate, 3, {1, 2, 3}}), true, true);
    EXPECT_EQ(m.voiceCount(), 0u);
    m.play(2, steady(9, 100), true, true);
    m.clear();
    EXPECT_EQ(left(m, 2), (std::vector<std::int16_t>{0, 0}));
}

// Samples kept outside the clip, as a file keeps them; frames past `readable` cannot be read.
struct KeptSamples : SampleSource {
    KeptSamples(std::vector<std::int16_t> s, int c) : samples(std::move(s)), channels(c) {}
    void read(std::size_t first, std::size_t count, std::int16_t* out) const override {
        ++reads;
        const auto c = static_cast<std::size_t>(channels);
        for (std::size_t i = 0; i < count * c; ++i)
            out[i] = first * c + i < readable * c ? samples[first * c + i] : 0;
    }
    std::vector<std::int16_t> samples;
    int channels;
    std::size_t readable = SIZE_MAX;
    mutable int reads = 0;
};

Mixer::Clip kept(std::uint32_t rate, int channels, std::shared_ptr<const KeptSamples> source) {
    const std::size_t frames = source->samples.size() / static_cast<std::size_t>(channels);
    return std::make_shared<PcmClip>(PcmClip{rate, channels, {}, std::move(source), frames});
}

// A clip read from its source as it plays sounds exactly as the same clip in memory: at other
// rates, in mono and stereo, from a given frame, across the loop point, to its end and through
// a fade, whatever the render calls' lengths.
TEST(Mixer, PlaysAClipKeptElsewhereAsTheSameClipInMemory) {
    struct Case {
        std::uint32_t rate;
        int channels;
        bool loop;
        std::size_t from;
    };
    const Case cases[] = {
        {kOutputRate, 2, false, 0}, {kOutputRate / 2, 1, true, 0}, {22050, 1, true, 990},
        {32000, 2, true, 500},      {11025, 1, false, 700},        {kOutputRate, 1, true, 999},
    };
    for (const Case& c : cases) {
        std::vector<std::int16_t> s(1000 * static_cast<std::size_t>(c.channels));
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<std::int16_t>((i * 7919) % 20011 - 10000);
        Mixer inMemory, elsewhere;
        inMemory.play(1, std::make_shared<PcmClip>(PcmClip{c.rate, c.channels, s}), c.loop, true,
                      c.from);
        elsewhere.play(1, kept(c.rate, c.channels, std::make_shared<KeptSamples>(s, c.channels)),
                       c.loop, true, c.from);
        for (std::size_t call = 0; call < 40; ++call) {
            const std::size_t frames = 1 + (call * 37) % 211;
            if (call == 30) {
                inMemory.stop(1);
                elsewhere.stop(1);
            }
            std::vector<std::int16_t> a(2 * frames), b(2 * frames);
            inMemory.render(a.data(), frames);
            elsewhere.render(b.data(), frames);
            ASSERT_EQ(a, b) << c.rate << " Hz, " << c.channels << " channels, call " << call;
        }
        EXPECT_EQ(inMemory.voiceCount(), 0u);
        EXPECT_EQ(elsewhere.voiceCount(), 0u);
    }
}

// The source is asked for a stretch of frames per render call, not a frame at a time; frames
// it cannot give are silence, and the voice still ends when the clip does.
TEST(Mixer, ReadsAKeptClipAStretchAtATimeAndPlaysSilenceWhereItFails) {
    auto source = std::make_shared<KeptSamples>(std::vector<std::int16_t>(100, 500), 1);
    source->readable = 60;
    Mixer m;
    m.play(1, kept(kOutputRate, 1, source), false, false);
    const auto out = left(m, 120);
    EXPECT_LE(source->reads, 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        ASSERT_EQ(out[i], i < 60 ? 500 : 0) << "at frame " << i;
    EXPECT_EQ(m.voiceCount(), 0u);
}

// After each start the feed hands out a little silence, then the mix; it tells when the mix
// has been silent for long enough, and counts afresh when rearmed or when a voice sounds.
TEST(MixerFeed, LeadsInThenHandsOutTheMixAndTellsWhenIdle) {
    Mixer mixer;
    auto clip = std::make_shared<const PcmClip>(PcmClip{kOutputRate, 2, {1, 2, 3, 4, 5, 6}});
    mixer.play(1, clip, true, true);
    MixerFeed feed(mixer);
    std::vector<std::int16_t> frames;
    const auto fill = [&](std::size_t count) {
        frames.assign(count * 2, -1);
        return feed.fill(frames.data(), count);
    };
    EXPECT_FALSE(fill(MixerFeed::kLeadInFrames));
    for (std::int16_t s : frames) ASSERT_EQ(s, 0);
    EXPECT_FALSE(fill(3));
    EXPECT_EQ(frames, clip->samples);

    mixer.stop(1);
    fill(Mixer::kFadeFrames);  // the voice fades and ends: silence from here
    EXPECT_FALSE(fill(MixerFeed::kIdleFrames - Mixer::kFadeFrames - 1));
    EXPECT_TRUE(fill(1));
    EXPECT_TRUE(fill(1)) << "still idle";
    feed.rearm();
    EXPECT_FALSE(fill(MixerFeed::kIdleFrames - 1));
    EXPECT_TRUE(fill(1));
    feed.rearm();
    mixer.play(1, clip, false, true);
    EXPECT_FALSE(fill(2)) << "a voice sounds";
    for (std::int16_t s : frames) ASSERT_EQ(s, 0) << "after a rearm the lead-in comes first";
}

}  // namespace
}  // namespace kiryuza::sound
