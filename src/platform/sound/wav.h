// Reading WAV files: RIFF/WAVE with uncompressed PCM, 8-bit unsigned or 16-bit signed, mono or
// stereo. Everything else, and every damaged file, is refused with a reason. Plain C++ so the
// parser can be fuzzed and tested without Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kiryuza::sound {

// Why a file was refused.
enum class WavError {
    none,
    notRiff,         // does not start with "RIFF"
    notWave,         // a RIFF file of another kind
    truncated,       // a header, chunk or the RIFF body runs past the end of the bytes
    badChunk,        // a chunk too small for what it must hold
    duplicateChunk,  // a second "fmt " or "data" chunk
    noFormat,        // no "fmt " chunk
    noData,          // no "data" chunk
    notPcm,          // compressed or floating-point samples
    badChannels,     // not 1 or 2 channels
    badBits,         // not 8 or 16 bits per sample
    badRate,         // a sample rate outside kMinRate..kMaxRate
    inconsistent,    // block size, byte rate or data size disagree with the format
    empty,           // no sample frames
    tooLong,         // more than kMaxSeconds of sound
};

inline constexpr std::uint32_t kMinRate = 4000;
inline constexpr std::uint32_t kMaxRate = 192000;
inline constexpr std::uint32_t kMaxSeconds = 600;

// Decoded samples: interleaved, 16-bit signed, at the file's own rate and channel count.
struct PcmClip {
    std::uint32_t rate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;

    std::size_t frames() const { return channels > 0 ? samples.size() / channels : 0; }
};

struct WavResult {
    WavError error = WavError::none;
    PcmClip clip;  // empty unless error is none
};

// Parses the bytes of a whole WAV file.
WavResult parseWav(const std::uint8_t* data, std::size_t size);

// Short English name of a refusal, for test output and diagnostics.
const char* wavErrorName(WavError error);

// The clip at `rate`, with its channels as they are. The rate is changed by linear
// interpolation, widened to a triangle filter when shrinking so that high tones do not fold
// back as noise. An empty clip when there is nothing to convert.
PcmClip convertRate(const PcmClip& clip, std::uint32_t rate);

}  // namespace kiryuza::sound
