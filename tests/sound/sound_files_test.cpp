// Checks the four synthesised WAV files in the program's folder: that the game's own library
// takes them, and that their levels, lengths and the music's loop point are sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "options/sound.h"
#include "platform/sound/sound_library.h"
#include "platform/sound/wav.h"

namespace kiryuza::sound {
namespace {

const std::filesystem::path kFolder = KIRYUZA_SOUND_DIR;

std::vector<std::uint8_t> readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

PcmClip load(const char* name) {
    const auto bytes = readFile(kFolder / name);
    const WavResult r = parseWav(bytes.data(), bytes.size());
    EXPECT_EQ(r.error, WavError::none) << name << ": " << wavErrorName(r.error);
    return r.clip;
}

double peak(const PcmClip& c) {
    int most = 0;
    for (std::int16_t v : c.samples) most = std::max(most, std::abs(static_cast<int>(v)));
    return most / 32768.0;
}

double dB(double amplitude) {
    return 20 * std::log10(amplitude);
}

double seconds(const PcmClip& c) {
    return static_cast<double>(c.frames()) / c.rate;
}

// The root mean square of frames [from, to), as a share of full scale.
double rms(const PcmClip& c, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(c.samples[i]) * c.samples[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) / 32768.0 : 0;
}

// How loud a sound is heard: the root mean square of its loudest 50 ms, in dB.
double loudness(const PcmClip& c) {
    const std::size_t window = std::min<std::size_t>(c.frames(), c.rate / 20);
    double loudest = 0;
    for (std::size_t from = 0; from + window <= c.frames(); from += window / 4)
        loudest = std::max(loudest, rms(c, from, from + window));
    return dB(loudest);
}

const char* const kEffects[] = {"駒打音.wav", "禁止.wav", "その他.wav"};

TEST(SoundFiles, EffectsAreShortAndEndInSilence) {
    for (const char* name : kEffects) {
        const PcmClip c = load(name);
        ASSERT_FALSE(c.samples.empty()) << name;
        EXPECT_EQ(c.channels, 1) << name;
        EXPECT_LT(seconds(c), 2.0) << name;
        EXPECT_LT(std::abs(c.samples.back()), 30) << name << " ends with a click";
    }
    EXPECT_LT(seconds(load("駒打音.wav")), 0.3);
}

// The effects are about as loud as one another, the music plays behind them, and the music
// with the two loudest effects at their peaks at once still fits in the sample range.
TEST(SoundFiles, LevelsAreBalancedAndLeaveHeadroom) {
    std::vector<double> levels, peaks;
    for (const char* name : kEffects) {
        const PcmClip c = load(name);
        levels.push_back(loudness(c));
        peaks.push_back(peak(c));
        EXPECT_GT(levels.back(), -30.0) << name << " is hardly heard";
    }
    const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
    EXPECT_LT(*loudest - *quietest, 3.0) << "effects out of balance";

    const PcmClip music = load("BGM.wav");
    const double musicLevel = dB(rms(music, 0, music.frames()));
    EXPECT_GT(musicLevel, -40.0) << "the music is hardly heard";
    EXPECT_LT(musicLevel, *quietest - 6.0) << "the music is not behind the effects";
    EXPECT_LE(loudness(music), *loudest);

    std::sort(peaks.rbegin(), peaks.rend());
    EXPECT_LT(peak(music) + peaks[0] + peaks[1], 1.0) << "no headroom in the mix";
}

TEST(SoundFiles, MusicIsALongSeamlessLoop) {
    const PcmClip c = load("BGM.wav");
    ASSERT_GT(c.samples.size(), 2u);
    EXPECT_GE(seconds(c), 30.0);
    // Going from the last sample to the first must be no bigger a step than the music takes
    // from one sample to the next anyway: the root mean square of those steps.
    double sum = 0;
    for (std::size_t i = 1; i < c.samples.size(); ++i) {
        const double d = c.samples[i] - c.samples[i - 1];
        sum += d * d;
    }
    const double typical = std::sqrt(sum / static_cast<double>(c.samples.size() - 1));
    EXPECT_LT(std::abs(c.samples.front() - c.samples.back()), typical);
}

// Reads files from the program's folder, as the game does from its working folder.
struct FolderFiles : ファイル系 {
    bool 存在(const std::string& p) override { return std::filesystem::exists(kFolder / p); }
    std::optional<std::vector<std::uint8_t>> 読む(const std::string& p, std::string&,
                                                  std::size_t) override {
        return readFile(kFolder / p);
    }
    ファイル結果 書く(const std::string&, const std::vector<std::uint8_t>&) override { return {}; }
};

struct SilentBackend : AudioBackend {
    bool hasDevice() override { return true; }
    std::unique_ptr<AudioStream> open(Mixer&) override { return std::make_unique<AudioStream>(); }
};

struct NoBoxes : メッセージ窓 {
    押されたボタン 表示(const std::string&, const std::string&, ボタン種類, bool) override {
        ADD_FAILURE() << "unexpected message box";
        return 押されたボタン::OK;
    }
};

TEST(SoundFiles, TheGameLoadsAllFour) {
    SoundLibrary lib(std::make_unique<SilentBackend>());
    FolderFiles files;
    NoBoxes boxes;
    音響 sounds(lib, files, boxes);
    sounds.開始();
    EXPECT_NE(sounds.音_その他, 0);
    EXPECT_NE(sounds.音_禁止, 0);
    EXPECT_NE(sounds.音_駒打, 0);
    EXPECT_NE(sounds.音_BGM, 0);
    sounds.BGM開始();
    sounds.鳴らす_駒打();
    std::vector<std::int16_t> out(2 * 4410);
    lib.mixer().render(out.data(), 4410);
    EXPECT_NE(*std::max_element(out.begin(), out.end()), 0);
    sounds.停止();
    EXPECT_EQ(lib.bufferCount(), 0u);
}

}  // namespace
}  // namespace kiryuza::sound
