#include <gtest/gtest.h>

#include <cstring>

#include "platform/sound/sound_library.h"
#include "sound/wav_builder.h"

namespace kiryuza::sound {
namespace {

using namespace kiryuza::testing;

// An audio back end that only counts: the tests pull from the mixer themselves.
struct FakeBackend : AudioBackend {
    struct Counts {
        int opened = 0;
        int closed = 0;
    };
    struct Stream : AudioStream {
        explicit Stream(Counts& c) : counts(c) {}
        ~Stream() override { ++counts.closed; }
        Counts& counts;
    };

    FakeBackend(bool device, Counts& c) : hasOutput(device), counts(c) {}
    bool hasDevice() override { return hasOutput; }
    std::unique_ptr<AudioStream> open(Mixer&) override {
        ++counts.opened;
        return std::make_unique<Stream>(counts);
    }
    bool hasOutput;
    Counts& counts;
};

// A short 16-bit mono clip at the output rate holding `level`.
Bytes steadyWav(int level, std::size_t frames = 2000) {
    Bytes data;
    for (std::size_t i = 0; i < frames; ++i) put16(data, static_cast<std::uint16_t>(level));
    return simpleWav(1, kOutputRate, 16, data);
}

struct Library : ::testing::Test {
    FakeBackend::Counts counts;
    SoundLibrary lib{std::make_unique<FakeBackend>(true, counts)};

    std::int32_t create(const Bytes& b, std::int32_t flags, std::int32_t library = 0) {
        return lib.dsCreateDSB(library != 0 ? library : lib.dsInitialize(), b.data(), b.size(),
                               flags);
    }
    std::int16_t next() {
        std::int16_t out[2];
        lib.mixer().render(out, 1);
        return out[0];
    }
    void skip(std::size_t frames) {
        std::vector<std::int16_t> out(2 * frames);
        lib.mixer().render(out.data(), frames);
    }
};

TEST(SoundLibraryNoDevice, StartsSilentAndIgnoresEveryCall) {
    FakeBackend::Counts counts;
    SoundLibrary lib(std::make_unique<FakeBackend>(false, counts));
    EXPECT_EQ(lib.dsInitialize(), 0);
    EXPECT_EQ(counts.opened, 0);
    const Bytes wav = steadyWav(100);
    for (std::int32_t h : {0, 1, -1, 0x4B5A0000}) {
        EXPECT_EQ(lib.dsCreateDSB(h, wav.data(), wav.size(), 3), 0);
        lib.dsPlay(h);
        lib.dsPlayLooping(h);
        lib.dsStop(h);
        lib.dsFree(h);
        lib.dsTerminate(h);
    }
    EXPECT_EQ(lib.mixer().voiceCount(), 0u);
}

TEST_F(Library, HandleLifeCycle) {
    const std::int32_t library = lib.dsInitialize();
    ASSERT_NE(library, 0);
    EXPECT_EQ(lib.dsInitialize(), library);  // already running
    EXPECT_EQ(counts.opened, 0);             // the output waits for a sound

    const std::int32_t a = create(steadyWav(100), 3);
    const std::int32_t b = create(steadyWav(200), 1);
    EXPECT_NE(a, 0);
    EXPECT_NE(b, 0);
    EXPECT_NE(a, b);
    // A wrong library handle, broken bytes or no bytes give no buffer.
    EXPECT_EQ(create(steadyWav(100), 3, library + 1), 0);
    EXPECT_EQ(create(Bytes{'R', 'I', 'F', 'F'}, 3), 0);
    EXPECT_EQ(lib.dsCreateDSB(library, nullptr, 0, 3), 0);
    EXPECT_EQ(lib.bufferCount(), 2u);

    lib.dsPlay(a);
    EXPECT_EQ(counts.opened, 1);
    EXPECT_EQ(next(), 100);
    lib.dsFree(a);
    skip(Mixer::kFadeFrames);
    lib.dsPlay(a);  // freed: unknown now
    EXPECT_EQ(next(), 0);
    EXPECT_EQ(lib.bufferCount(), 1u);

    lib.dsTerminate(library + 1);  // not ours
    EXPECT_EQ(counts.closed, 0);
    lib.dsTerminate(library);
    EXPECT_EQ(counts.closed, 1);
    EXPECT_EQ(lib.bufferCount(), 0u);
    lib.dsPlay(b);
    EXPECT_EQ(next(), 0);
    EXPECT_EQ(create(steadyWav(1), 3, library), 0);  // the old library handle is dead

    const std::int32_t again = lib.dsInitialize();
    EXPECT_NE(again, 0);
    EXPECT_NE(again, library);
    EXPECT_EQ(counts.opened, 1);
    lib.dsPlayLooping(create(steadyWav(1), 1, again));
    EXPECT_EQ(counts.opened, 2);
}

// Held, the output stays closed while sounds start; released, it opens and they play from
// their beginning. Released with nothing playing, it waits for the next sound.
TEST_F(Library, AHeldOutputOpensWhenReleasedWithTheSoundsFromTheirStart) {
    Bytes ramp;
    for (int i = 0; i < 1000; ++i) put16(ramp, static_cast<std::uint16_t>(i));
    lib.holdOutput();
    const std::int32_t music = create(simpleWav(1, kOutputRate, 16, ramp), 1);
    lib.dsPlayLooping(music);
    EXPECT_EQ(counts.opened, 0);
    EXPECT_FALSE(lib.outputOpen());
    lib.releaseOutput();
    EXPECT_EQ(counts.opened, 1);
    EXPECT_EQ(next(), 0);
    EXPECT_EQ(next(), 1);

    FakeBackend::Counts quiet;
    SoundLibrary other{std::make_unique<FakeBackend>(true, quiet)};
    const std::int32_t library = other.dsInitialize();
    other.holdOutput();
    other.releaseOutput();
    EXPECT_EQ(quiet.opened, 0);
    const Bytes wav = steadyWav(100);
    other.dsPlay(other.dsCreateDSB(library, wav.data(), wav.size(), 3));
    EXPECT_EQ(quiet.opened, 1);
}

TEST_F(Library, EffectsOverlapWhileTheMusicRestarts) {
    const std::int32_t effect = create(steadyWav(100), 3);
    const std::int32_t music = create(steadyWav(1000), 1);
    lib.dsPlay(effect);
    lib.dsPlay(effect);
    EXPECT_EQ(next(), 200);
    lib.dsPlay(music);
    skip(100);
    lib.dsPlay(music);
    skip(Mixer::kFadeFrames);
    EXPECT_EQ(lib.mixer().voiceCount(), 3u);  // two effects, one music voice
    EXPECT_EQ(next(), 1200);
}

TEST_F(Library, LoopingKeepsGoingAndStopsOnlyItsBuffer) {
    // A rising ramp shows whether the loop restarted or went on.
    Bytes ramp;
    for (int i = 0; i < 1000; ++i) put16(ramp, static_cast<std::uint16_t>(i));
    const std::int32_t music = create(simpleWav(1, kOutputRate, 16, ramp), 1);
    const std::int32_t effect = create(steadyWav(5000, 100000), 3);
    lib.dsPlayLooping(music);
    skip(10);
    lib.dsPlayLooping(music);  // already looping: goes on
    EXPECT_EQ(next(), 10);
    skip(989);
    EXPECT_EQ(next(), 0);  // wrapped round
    lib.dsPlay(effect);
    EXPECT_EQ(next(), 5001);
    lib.dsStop(effect);
    skip(Mixer::kFadeFrames);
    EXPECT_EQ(next(), 2 + Mixer::kFadeFrames);
    lib.dsStop(music);
    skip(Mixer::kFadeFrames);
    EXPECT_EQ(lib.mixer().voiceCount(), 0u);
}

TEST(SoundLibraryShutdown, DestroyingTheLibraryStopsTheOutput) {
    FakeBackend::Counts counts;
    {
        SoundLibrary lib(std::make_unique<FakeBackend>(true, counts));
        const std::int32_t library = lib.dsInitialize();
        const Bytes wav = steadyWav(100);
        lib.dsPlayLooping(lib.dsCreateDSB(library, wav.data(), wav.size(), 1));
    }
    EXPECT_EQ(counts.opened, 1);
    EXPECT_EQ(counts.closed, 1);
}

TEST_F(Library, ConvertsEightBitAndOtherRatesOnLoading) {
    // 8-bit at half the output rate: every sample shows twice (or as the mean between two).
    const std::int32_t h = create(simpleWav(1, kOutputRate / 2, 8, {128, 138, 148}), 3);
    lib.dsPlay(h);
    std::vector<std::int16_t> out(12);
    lib.mixer().render(out.data(), 6);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 0, 1280, 1280, 2560, 2560, 3840, 3840, 5120, 5120,
                                              5120, 5120}));
}

// An open file in memory that counts the bytes read from it and can be cut short.
struct CountedFile : 読み口 {
    explicit CountedFile(Bytes b) : bytes(std::move(b)), size(bytes.size()) {}
    std::uint64_t 大きさ() const override { return bytes.size(); }
    bool 読む(std::uint64_t at, void* to, std::size_t n) const override {
        if (at > size || n > size - at) return false;
        std::memcpy(to, bytes.data() + at, n);
        read += n;
        return true;
    }
    Bytes bytes;
    std::size_t size;  // what is still there
    mutable std::size_t read = 0;
};

// A sound of kStreamBytes or more stays in its file: loading it reads its headers alone, and
// it plays as the same sound read whole would, read a little at a time. A shorter sound is
// read whole at once, so an effect never waits for the file.
TEST_F(Library, LeavesALongSoundInItsFileAndReadsItAsItPlays) {
    Bytes data;
    const std::size_t frames = kStreamBytes / 2 + 1000;
    for (std::size_t i = 0; i < frames; ++i) put16(data, static_cast<std::uint16_t>(i % 3000));
    const Bytes wav = simpleWav(1, 22050, 16, data);
    const auto file = std::make_shared<CountedFile>(wav);
    const std::int32_t library = lib.dsInitialize();
    const std::int32_t streamed = lib.dsCreateDSBFromFile(library, file, 1);
    ASSERT_NE(streamed, 0);
    EXPECT_LT(file->read, 100u);

    SoundLibrary whole{std::make_unique<FakeBackend>(true, counts)};
    const std::int32_t inMemory =
        whole.dsCreateDSB(whole.dsInitialize(), wav.data(), wav.size(), 1);
    lib.dsPlayLooping(streamed);
    whole.dsPlayLooping(inMemory);
    std::vector<std::int16_t> a(2 * 4410), b(2 * 4410);
    for (int tenth = 0; tenth < 5; ++tenth) {
        lib.mixer().render(a.data(), 4410);
        whole.mixer().render(b.data(), 4410);
        ASSERT_EQ(a, b) << "tenth " << tenth;
    }
    // Half a second of 22 050 frames a second, two bytes each, and little more.
    EXPECT_GT(file->read, 22050u);
    EXPECT_LT(file->read, 30000u);

    const Bytes shortWav = steadyWav(700, 3000);
    const auto shortFile = std::make_shared<CountedFile>(shortWav);
    const std::int32_t effect = lib.dsCreateDSBFromFile(library, shortFile, 3);
    ASSERT_NE(effect, 0);
    const std::size_t loaded = shortFile->read;
    EXPECT_GE(loaded, 6000u);
    lib.dsPlay(effect);
    skip(100);
    EXPECT_EQ(shortFile->read, loaded);
}

// A file cut short after it was opened plays silence where its samples are gone, and the rest
// of the library goes on; a file that is not a WAV file gets no buffer.
TEST_F(Library, PlaysSilenceWhereAFileWasCutShortAfterLoading) {
    Bytes data;
    for (std::size_t i = 0; i < kStreamBytes / 2 + 10; ++i) put16(data, 1234);
    const auto file = std::make_shared<CountedFile>(simpleWav(1, kOutputRate, 16, data));
    const std::int32_t library = lib.dsInitialize();
    const std::int32_t music = lib.dsCreateDSBFromFile(library, file, 1);
    ASSERT_NE(music, 0);
    lib.dsPlayLooping(music);
    EXPECT_EQ(next(), 1234);
    file->size = 0;
    skip(10);
    EXPECT_EQ(next(), 0);
    const std::int32_t effect = create(steadyWav(300), 3, library);
    lib.dsPlay(effect);
    EXPECT_EQ(next(), 300);
    EXPECT_EQ(lib.dsCreateDSBFromFile(library, std::make_shared<CountedFile>(Bytes(5000, 7)), 3),
              0);
    EXPECT_EQ(lib.dsCreateDSBFromFile(library, nullptr, 3), 0);
}

}  // namespace
}  // namespace kiryuza::sound
