// Builds WAV file bytes for the tests and the fuzz seeds, including deliberately broken ones.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace kiryuza::testing {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

struct Chunk {
    std::string id;  // four characters
    Bytes body;
    std::optional<std::uint32_t> declaredSize;  // a size field that lies about the body
    bool pad = true;                            // add the pad byte after an odd body
};

// A "fmt " chunk; block size and byte rate follow from the others unless given.
inline Chunk fmtChunk(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                      std::uint16_t bits, std::optional<std::uint16_t> blockAlign = {},
                      std::optional<std::uint32_t> byteRate = {}) {
    const std::uint16_t align =
        blockAlign.value_or(static_cast<std::uint16_t>(channels * bits / 8));
    Chunk c{"fmt ", {}, {}, true};
    put16(c.body, tag);
    put16(c.body, channels);
    put32(c.body, rate);
    put32(c.body, byteRate.value_or(rate * align));
    put16(c.body, align);
    put16(c.body, bits);
    return c;
}

// WAVE_FORMAT_EXTENSIBLE with the given sub-format code (1 = PCM, 3 = float).
inline Chunk extensibleFmtChunk(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                                std::uint32_t subFormat) {
    Chunk c = fmtChunk(0xFFFE, channels, rate, bits);
    put16(c.body, 22);    // extension size
    put16(c.body, bits);  // valid bits
    put32(c.body, channels == 1 ? 0x4 : 0x3);
    put32(c.body, subFormat);
    for (std::uint8_t x :
         {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}) {
        c.body.push_back(x);
    }
    return c;
}

inline Chunk dataChunk(Bytes body) {
    return Chunk{"data", std::move(body), {}, true};
}

inline Bytes pcm16(std::initializer_list<int> samples) {
    Bytes b;
    for (int s : samples) put16(b, static_cast<std::uint16_t>(static_cast<std::int16_t>(s)));
    return b;
}

// A RIFF file of the given chunks; the RIFF size is right unless given.
inline Bytes riff(const std::vector<Chunk>& chunks, std::optional<std::uint32_t> riffSize = {},
                  const char* form = "WAVE") {
    Bytes body(form, form + 4);
    for (const Chunk& c : chunks) {
        body.insert(body.end(), c.id.begin(), c.id.end());
        put32(body, c.declaredSize.value_or(static_cast<std::uint32_t>(c.body.size())));
        body.insert(body.end(), c.body.begin(), c.body.end());
        if (c.pad && c.body.size() % 2 == 1) body.push_back(0);
    }
    Bytes out{'R', 'I', 'F', 'F'};
    put32(out, riffSize.value_or(static_cast<std::uint32_t>(body.size())));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// The plain case: one format chunk and one data chunk.
inline Bytes simpleWav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, Bytes data) {
    return riff({fmtChunk(1, channels, rate, bits), dataChunk(std::move(data))});
}

}  // namespace kiryuza::testing
