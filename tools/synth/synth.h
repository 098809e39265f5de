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

// A 16-bit PCM mono WAV file.
std::vector<std::uint8_t> encodeWav(const Sound& sound);

}  // namespace kiryuza::synth
