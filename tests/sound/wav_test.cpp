#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/sound/wav.h"
#include "sound/wav_builder.h"

namespace kiryuza::sound {
namespace {

using namespace kiryuza::testing;

WavResult parse(const Bytes& b) {
    return parseWav(b.data(), b.size());
}

TEST(WavParser, AcceptsPcmFiles) {
    const Chunk list{"LIST", {'I', 'N', 'F', 'O'}, {}, true};
    const Chunk oddJunk{"junk", {1, 2, 3}, {}, true};  // odd size, padded
    struct Case {
        const char* name;
        Bytes file;
        std::uint32_t rate;
        int channels;
        std::vector<std::int16_t> samples;
    };
    const Case cases[] = {
        {"16-bit mono",
         simpleWav(1, 44100, 16, pcm16({0, 1000, -1000, 32767, -32768})),
         44100,
         1,
         {0, 1000, -1000, 32767, -32768}},
        {"8-bit mono, odd data size padded",
         simpleWav(1, 8000, 8, {128, 255, 0}),
         8000,
         1,
         {0, 32512, -32768}},
        {"16-bit stereo at an odd rate",
         simpleWav(2, 12345, 16, pcm16({1, -1, 2, -2})),
         12345,
         2,
         {1, -1, 2, -2}},
        {"8-bit stereo at 96 kHz", simpleWav(2, 96000, 8, {129, 127}), 96000, 2, {256, -256}},
        {"extra chunks around, data before fmt",
         riff({list, dataChunk(pcm16({7, 8})), oddJunk, fmtChunk(1, 1, 22050, 16), list}),
         22050,
         1,
         {7, 8}},
        {"odd chunk after the data chunk",
         riff({fmtChunk(1, 1, 11025, 8), dataChunk({130}), oddJunk}),
         11025,
         1,
         {512}},
        {"extensible PCM",
         riff({extensibleFmtChunk(2, 48000, 16, 1), dataChunk(pcm16({3, 4}))}),
         48000,
         2,
         {3, 4}},
        {"last pad byte missing",
         riff({fmtChunk(1, 1, 8000, 8), Chunk{"data", {140}, {}, false}}),
         8000,
         1,
         {3072}},
    };
    for (const Case& c : cases) {
        const WavResult r = parse(c.file);
        ASSERT_EQ(r.error, WavError::none) << c.name << ": " << wavErrorName(r.error);
        EXPECT_EQ(r.clip.rate, c.rate) << c.name;
        EXPECT_EQ(r.clip.channels, c.channels) << c.name;
        EXPECT_EQ(r.clip.samples, c.samples) << c.name;
    }
    // Bytes after the RIFF body are not part of the file.
    Bytes trailing = simpleWav(1, 8000, 8, {128, 128});
    trailing.insert(trailing.end(), {'x', 'y', 'z'});
    EXPECT_EQ(parse(trailing).clip.samples.size(), 2u);
}

TEST(WavParser, RefusesBrokenAndForeignFiles) {
    const Bytes good = simpleWav(1, 8000, 16, pcm16({1, 2, 3, 4}));
    Bytes riffTooLong = good;
    riffTooLong[4] += 2;
    struct Case {
        const char* name;
        Bytes file;
        WavError error;
    };
    const Case cases[] = {
        {"nothing", {}, WavError::notRiff},
        {"big-endian RIFX", Bytes{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'},
         WavError::notRiff},
        {"header cut short", Bytes(good.begin(), good.begin() + 10), WavError::truncated},
        {"another RIFF form", riff({fmtChunk(1, 1, 8000, 8)}, {}, "AVI "), WavError::notWave},
        {"RIFF size past the end", riffTooLong, WavError::truncated},
        {"RIFF size 0xFFFFFFFF", riff({fmtChunk(1, 1, 8000, 8)}, 0xFFFFFFFFu), WavError::truncated},
        {"RIFF size below 4", riff({}, 2u), WavError::badChunk},
        {"chunk header cut", riff({fmtChunk(1, 1, 8000, 8), Chunk{"da", {}, {}, false}}),
         WavError::truncated},
        {"data larger than the file",
         riff({fmtChunk(1, 1, 8000, 8), Chunk{"data", {1, 2}, 0xFFFFFFF0u, true}}),
         WavError::truncated},
        {"fmt too short", riff({Chunk{"fmt ", Bytes(14, 1), {}, true}, dataChunk({1})}),
         WavError::badChunk},
        {"ADPCM", riff({fmtChunk(2, 1, 8000, 4, 256, 4096), dataChunk(Bytes(256, 0))}),
         WavError::notPcm},
        {"IEEE float", riff({fmtChunk(3, 1, 8000, 32), dataChunk(Bytes(8, 0))}), WavError::notPcm},
        {"MPEG", riff({fmtChunk(0x55, 2, 44100, 0, 1, 16000), dataChunk(Bytes(8, 0))}),
         WavError::notPcm},
        {"extensible float", riff({extensibleFmtChunk(1, 8000, 32, 3), dataChunk(Bytes(8, 0))}),
         WavError::notPcm},
        {"zero channels", riff({fmtChunk(1, 0, 8000, 16, 2), dataChunk(Bytes(4, 0))}),
         WavError::badChannels},
        {"six channels", simpleWav(6, 8000, 16, Bytes(24, 0)), WavError::badChannels},
        {"24-bit", simpleWav(1, 8000, 24, Bytes(6, 0)), WavError::badBits},
        {"zero rate", simpleWav(1, 0, 16, Bytes(4, 0)), WavError::badRate},
        {"a million samples a second", simpleWav(1, 1000000, 16, Bytes(4, 0)), WavError::badRate},
        {"wrong block size", riff({fmtChunk(1, 2, 8000, 16, 2), dataChunk(Bytes(8, 0))}),
         WavError::inconsistent},
        {"wrong byte rate", riff({fmtChunk(1, 1, 8000, 16, {}, 8000), dataChunk(Bytes(8, 0))}),
         WavError::inconsistent},
        {"half a frame of data", simpleWav(2, 8000, 16, Bytes(6, 0)), WavError::inconsistent},
        {"no frames", simpleWav(1, 8000, 16, {}), WavError::empty},
        {"no fmt", riff({dataChunk(Bytes(4, 0))}), WavError::noFormat},
        {"no data", riff({fmtChunk(1, 1, 8000, 16)}), WavError::noData},
        {"two fmt", riff({fmtChunk(1, 1, 8000, 16), fmtChunk(1, 1, 8000, 16), dataChunk({0, 0})}),
         WavError::duplicateChunk},
        {"two data", riff({fmtChunk(1, 1, 8000, 8), dataChunk({1}), dataChunk({2})}),
         WavError::duplicateChunk},
        {"over ten minutes", simpleWav(1, 4000, 8, Bytes(4000 * 600 + 1, 128)), WavError::tooLong},
    };
    for (const Case& c : cases) {
        const WavResult r = parse(c.file);
        EXPECT_EQ(r.error, c.error) << c.name << ": got " << wavErrorName(r.error);
        EXPECT_TRUE(r.clip.samples.empty()) << c.name;
    }
    EXPECT_EQ(parseWav(nullptr, 100).error, WavError::notRiff);
    // Every cut-off copy of a good file is refused.
    for (std::size_t n = 0; n < good.size(); ++n) {
        EXPECT_NE(parseWav(good.data(), n).error, WavError::none) << n << " bytes";
    }
}

PcmClip monoClip(std::uint32_t rate, std::vector<std::int16_t> samples) {
    return PcmClip{rate, 1, std::move(samples)};
}

double rms(const PcmClip& clip, std::size_t skip) {
    double sum = 0;
    std::size_t n = 0;
    for (std::size_t i = skip; i + skip < clip.frames(); ++i, ++n) {
        const double v = clip.samples[i * static_cast<std::size_t>(clip.channels)];
        sum += v * v;
    }
    return n == 0 ? 0 : std::sqrt(sum / static_cast<double>(n));
}

std::vector<std::int16_t> sine(std::uint32_t rate, double freq, std::size_t frames) {
    std::vector<std::int16_t> s(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        s[i] = static_cast<std::int16_t>(
            10000 * std::sin(2 * std::numbers::pi * freq * static_cast<double>(i) / rate));
    }
    return s;
}

TEST(WavConversion, KeepsChannelsAndLeavesTheOutputRateAlone) {
    const PcmClip stereo{44100, 2, {1, 2, 3, 4}};
    EXPECT_EQ(convertRate(stereo, 44100).samples, stereo.samples);
    const PcmClip halved =
        convertRate(PcmClip{44100, 2, {0, 0, 100, -100, 200, -200, 300, -300}}, 22050);
    EXPECT_EQ(halved.channels, 2);
    EXPECT_EQ(halved.rate, 22050u);
    ASSERT_EQ(halved.frames(), 2u);
    EXPECT_EQ(halved.samples[2], -halved.samples[3]);
    EXPECT_TRUE(convertRate(PcmClip{}, 44100).samples.empty());
}

TEST(WavConversion, ResamplesWithLinearInterpolationAndFiltersWhenShrinking) {
    // Doubling the rate puts the mean of neighbours between the original samples.
    const PcmClip up = convertRate(monoClip(22050, {0, 100, 300, 300}), 44100);
    ASSERT_EQ(up.frames(), 8u);
    EXPECT_EQ(std::vector<std::int16_t>(up.samples.begin(), up.samples.begin() + 6),
              (std::vector<std::int16_t>{0, 50, 100, 200, 300, 300}));
    // Lengths follow the duration.
    EXPECT_EQ(convertRate(monoClip(8000, std::vector<std::int16_t>(800, 1)), 44100).frames(),
              4410u);
    // A steady level stays exactly steady, edges included, whatever the ratio.
    for (std::uint32_t rate : {8000u, 11025u, 32000u, 48000u, 96000u}) {
        for (std::int16_t v :
             convertRate(monoClip(rate, std::vector<std::int16_t>(1000, -1234)), 44100).samples) {
            ASSERT_EQ(v, -1234) << rate;
        }
    }
    // From 96 kHz, a 1 kHz tone passes while a 40 kHz one (beyond the new range) is removed
    // instead of folding back as a false low tone.
    const double low = rms(convertRate(monoClip(96000, sine(96000, 1000, 9600)), 44100), 50);
    const double high = rms(convertRate(monoClip(96000, sine(96000, 40000, 9600)), 44100), 50);
    EXPECT_GT(low, 0.95 * 10000 / std::sqrt(2.0));
    EXPECT_LT(high, 0.05 * 10000);
}

}  // namespace
}  // namespace kiryuza::sound
