// Reading WAV files: RIFF/WAVE with uncompressed PCM, 8-bit unsigned or 16-bit signed, mono or
// stereo. Everything else, and every damaged file, is refused with a reason. Plain C++ so the
// parser can be fuzzed and tested without Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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

// Samples that stay where they are, in a file, and are read as they are needed.
class SampleSource {
  public:
    virtual ~SampleSource() = default;
    // Frames first .. first + count - 1 as interleaved 16-bit samples; silence for any that
    // cannot be read.
    virtual void read(std::size_t first, std::size_t count, std::int16_t* out) const = 0;
};

// Decoded samples: interleaved, 16-bit signed, at the file's own rate and channel count; or,
// when `source` is set, `sourceFrames` frames read from there as they play.
struct PcmClip {
    std::uint32_t rate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;
    std::shared_ptr<const SampleSource> source = nullptr;
    std::size_t sourceFrames = 0;

    std::size_t frames() const {
        if (source) return sourceFrames;
        return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0;
    }
    // Frames first .. first + count - 1 into `out`, wherever they are kept; the caller keeps
    // within frames().
    void copyFrames(std::size_t first, std::size_t count, std::int16_t* out) const;
};

struct WavResult {
    WavError error = WavError::none;
    PcmClip clip;  // empty unless error is none
};

// Parses the bytes of a whole WAV file.
WavResult parseWav(const std::uint8_t* data, std::size_t size);

// What a WAV file holds and where its samples lie, found from its headers alone.
struct WavLayout {
    WavError error = WavError::none;
    std::uint32_t rate = 0;
    int channels = 0;
    int bits = 0;
    std::uint64_t dataOffset = 0;  // where the first sample byte is
    std::uint32_t dataBytes = 0;

    std::size_t frames() const {
        const auto block = static_cast<std::uint32_t>(channels * bits / 8);
        return block == 0 ? 0 : dataBytes / block;
    }
};

// Copies `size` bytes from `offset` of a file to `out`; false when they are not all there.
using ByteReader = std::function<bool(std::uint64_t offset, std::size_t size, std::uint8_t* out)>;

// Checks a WAV file of `fileSize` bytes exactly as parseWav does, reading only its chunk
// headers and its format; the samples are left where they are.
WavLayout readWavLayout(const ByteReader& read, std::uint64_t fileSize);

// Turns `count` samples of `bits` (8 unsigned or 16 signed little-endian) into 16-bit signed.
void decodeSamples(const std::uint8_t* bytes, std::size_t count, int bits, std::int16_t* out);

// Short English name of a refusal, for test output and diagnostics.
const char* wavErrorName(WavError error);

// The clip at `rate`, with its channels as they are. The rate is changed by linear
// interpolation, widened to a triangle filter when shrinking so that high tones do not fold
// back as noise. An empty clip when there is nothing to convert. The clip's samples must be in
// memory.
PcmClip convertRate(const PcmClip& clip, std::uint32_t rate);

}  // namespace kiryuza::sound
