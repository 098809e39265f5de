#include "platform/sound/wav.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kiryuza::sound {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

// The tail of the sub-format GUID that marks extensible PCM (after its first four bytes, 1).
constexpr std::uint8_t kPcmGuidTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                           0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool tagIs(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

struct Format {
    int channels = 0;
    int bits = 0;
    std::uint32_t rate = 0;
    std::uint32_t blockAlign = 0;
};

// Checks a "fmt " chunk body and extracts what decoding needs.
WavError readFormat(const std::uint8_t* p, std::uint32_t size, Format& f) {
    if (size < 16) return WavError::badChunk;
    const std::uint16_t tag = le16(p);
    const std::uint16_t channels = le16(p + 2);
    const std::uint32_t rate = le32(p + 4);
    const std::uint32_t byteRate = le32(p + 8);
    const std::uint16_t blockAlign = le16(p + 12);
    const std::uint16_t bits = le16(p + 14);
    if (tag == kFormatExtensible) {
        // cbSize, valid bits, channel mask, sub-format GUID.
        if (size < 40 || le16(p + 16) < 22) return WavError::badChunk;
        if (le32(p + 24) != kFormatPcm || std::memcmp(p + 28, kPcmGuidTail, 12) != 0) {
            return WavError::notPcm;
        }
        const std::uint16_t validBits = le16(p + 18);
        if (validBits == 0 || validBits > bits) return WavError::inconsistent;
    } else if (tag != kFormatPcm) {
        return WavError::notPcm;
    }
    if (channels != 1 && channels != 2) return WavError::badChannels;
    if (bits != 8 && bits != 16) return WavError::badBits;
    if (rate < kMinRate || rate > kMaxRate) return WavError::badRate;
    if (blockAlign != channels * bits / 8 || byteRate != rate * blockAlign) {
        return WavError::inconsistent;
    }
    f = {channels, bits, rate, blockAlign};
    return WavError::none;
}

}  // namespace

void decodeSamples(const std::uint8_t* bytes, std::size_t count, int bits, std::int16_t* out) {
    if (bits == 8) {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = static_cast<std::int16_t>((bytes[i] - 128) * 256);
        }
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = static_cast<std::int16_t>(le16(bytes + 2 * i));
        }
    }
}

void PcmClip::copyFrames(std::size_t first, std::size_t count, std::int16_t* out) const {
    if (count == 0) return;
    if (source) {
        source->read(first, count, out);
        return;
    }
    const auto c = static_cast<std::size_t>(channels);
    std::memcpy(out, samples.data() + first * c, count * c * sizeof(std::int16_t));
}

WavLayout readWavLayout(const ByteReader& read, std::uint64_t size) {
    WavLayout r;
    auto fail = [&r](WavError e) {
        r = WavLayout{};
        r.error = e;
        return r;
    };
    std::uint8_t head[12];
    if (size < 4 || !read(0, 4, head) || !tagIs(head, "RIFF")) return fail(WavError::notRiff);
    if (size < 12 || !read(0, 12, head)) return fail(WavError::truncated);
    if (!tagIs(head + 8, "WAVE")) return fail(WavError::notWave);
    const std::uint32_t riffSize = le32(head + 4);
    if (riffSize < 4) return fail(WavError::badChunk);
    // Bytes after the RIFF body are ignored; a body longer than the bytes is a cut-off file.
    if (riffSize > size - 8) return fail(WavError::truncated);
    const std::uint64_t end = 8 + std::uint64_t{riffSize};

    Format format;
    bool haveFormat = false, haveData = false;
    std::uint64_t pos = 12;
    while (pos < end) {
        if (end - pos < 8) return fail(WavError::truncated);
        std::uint8_t chunk[8];
        if (!read(pos, 8, chunk)) return fail(WavError::truncated);
        const std::uint32_t chunkSize = le32(chunk + 4);
        pos += 8;
        if (chunkSize > end - pos) return fail(WavError::truncated);
        if (tagIs(chunk, "fmt ")) {
            if (haveFormat) return fail(WavError::duplicateChunk);
            // The format reads at most its first 40 bytes.
            std::uint8_t body[40] = {};
            const std::size_t wanted = std::min<std::uint32_t>(chunkSize, sizeof body);
            if (!read(pos, wanted, body)) return fail(WavError::truncated);
            const WavError e = readFormat(body, chunkSize, format);
            if (e != WavError::none) return fail(e);
            haveFormat = true;
        } else if (tagIs(chunk, "data")) {
            if (haveData) return fail(WavError::duplicateChunk);
            haveData = true;
            r.dataOffset = pos;
            r.dataBytes = chunkSize;
        }
        pos += chunkSize;
        // Chunks are padded to an even size; a missing pad byte at the very end is tolerated.
        if (chunkSize % 2 == 1 && pos < end) ++pos;
    }
    if (!haveFormat) return fail(WavError::noFormat);
    if (!haveData) return fail(WavError::noData);
    if (r.dataBytes % format.blockAlign != 0) return fail(WavError::inconsistent);
    const std::size_t frames = r.dataBytes / format.blockAlign;
    if (frames == 0) return fail(WavError::empty);
    if (frames > static_cast<std::size_t>(format.rate) * kMaxSeconds) {
        return fail(WavError::tooLong);
    }
    r.rate = format.rate;
    r.channels = format.channels;
    r.bits = format.bits;
    return r;
}

WavResult parseWav(const std::uint8_t* data, std::size_t size) {
    WavResult r;
    if (data == nullptr) {
        r.error = WavError::notRiff;
        return r;
    }
    const WavLayout layout = readWavLayout(
        [data, size](std::uint64_t offset, std::size_t n, std::uint8_t* out) {
            if (offset > size || n > size - offset) return false;
            std::memcpy(out, data + offset, n);
            return true;
        },
        size);
    r.error = layout.error;
    if (layout.error != WavError::none) return r;
    r.clip.rate = layout.rate;
    r.clip.channels = layout.channels;
    r.clip.samples.resize(layout.dataBytes / static_cast<std::uint32_t>(layout.bits / 8));
    decodeSamples(data + layout.dataOffset, r.clip.samples.size(), layout.bits,
                  r.clip.samples.data());
    return r;
}

const char* wavErrorName(WavError error) {
    switch (error) {
        case WavError::none:
            return "none";
        case WavError::notRiff:
            return "not RIFF";
        case WavError::notWave:
            return "not WAVE";
        case WavError::truncated:
            return "truncated";
        case WavError::badChunk:
            return "bad chunk";
        case WavError::duplicateChunk:
            return "duplicate chunk";
        case WavError::noFormat:
            return "no format";
        case WavError::noData:
            return "no data";
        case WavError::notPcm:
            return "not PCM";
        case WavError::badChannels:
            return "bad channels";
        case WavError::badBits:
            return "bad bits";
        case WavError::badRate:
            return "bad rate";
        case WavError::inconsistent:
            return "inconsistent";
        case WavError::empty:
            return "empty";
        case WavError::tooLong:
            return "too long";
    }
    return "?";
}

PcmClip convertRate(const PcmClip& clip, std::uint32_t rate) {
    const std::size_t frames = clip.frames();
    if (frames == 0 || rate == 0 || clip.rate == 0) return {};
    if (clip.rate == rate) return clip;
    const auto channels = static_cast<std::size_t>(clip.channels);
    // Each output frame is a triangle-weighted mean of the source frames around its position;
    // the triangle is one source frame wide when growing (plain linear interpolation) and one
    // output frame wide when shrinking.
    const double step = static_cast<double>(clip.rate) / rate;
    const double width = std::max(1.0, step);
    const auto outFrames = static_cast<std::size_t>(
        std::max<long long>(1, std::llround(static_cast<double>(frames) / step)));
    const auto last = static_cast<long long>(frames) - 1;
    PcmClip out{rate, clip.channels, std::vector<std::int16_t>(outFrames * channels)};
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double t = static_cast<double>(i) * step;
        const long long from = std::max(0LL, static_cast<long long>(std::ceil(t - width)));
        const long long to = std::min(last, static_cast<long long>(std::floor(t + width)));
        for (std::size_t side = 0; side < channels; ++side) {
            double sum = 0, weights = 0;
            for (long long k = from; k <= to; ++k) {
                const double w = 1.0 - std::abs(static_cast<double>(k) - t) / width;
                if (w <= 0) continue;
                weights += w;
                sum += w * clip.samples[static_cast<std::size_t>(k) * channels + side];
            }
            const double v = weights > 0 ? sum / weights : 0.0;
            out.samples[i * channels + side] =
                static_cast<std::int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
        }
    }
    return out;
}

}  // namespace kiryuza::sound
