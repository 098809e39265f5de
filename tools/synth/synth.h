// The game's four sounds, synthesised from scratch: a wooden piece click, a soft refusal buzz, a
// light chime and a koto-like loop of the folk song "Sakura Sakura". Plain C++, deterministic.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kiryuza::synth {

// Mono samples in -1..1.
struct Sound {
    std::uint32_t rate = 0;
    std::vector<float> samples;
};

// A short, bright wooden snap: a piece set down on the board.
Sound pieceClick();
// Two low, soft buzzes, the second a step lower: "not allowed".
Sound refusal();
// Two bell-like notes a fifth apart.
Sound chime();
// The music: one whole loop, which plays on seamlessly from its last sample to its first.
Sound music();

// Levels in dB below full scale. Each effect's loudest 50 ms sits at kEffectLevelDb (lower
// when its peak would pass kEffectCeilingDb, as a sharp click's would); the music's level over
// the whole loop is kMusicLevelDb, its peaks below kMusicCeilingDb. So the effects are as loud
// as one another, the music stays behind them, and the music with two effects at their peaks
// still fits in the sample range.
inline constexpr double kEffectLevelDb = -21;
inline constexpr double kEffectCeilingDb = -6;
inline constexpr double kMusicLevelDb = -31;
inline constexpr double kMusicCeilingDb = -12;

// The loudness of a sound as the levels above mean it: the root mean square of its loudest
// 50 ms, in dB below full scale.
double loudestDb(const std::vector<float>& samples, std::uint32_t rate);

// A 16-bit PCM mono WAV file.
std::vector<std::uint8_t> encodeWav(const Sound& sound);

}  // namespace kiryuza::synth
