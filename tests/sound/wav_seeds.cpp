// Writes the seed corpus of the WAV fuzz target: a few tiny valid files and broken ones.
//   wav_seed_writer <folder>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "sound/wav_builder.h"

using namespace kiryuza::testing;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "使い方: %s 出力フォルダ\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    const Chunk list{"LIST", {'I', 'N', 'F', 'O', 'a', 'b'}, {}, true};
    const Bytes good = simpleWav(1, 8000, 16, pcm16({0, 1000, -1000, 0}));
    const struct {
        const char* name;
        Bytes bytes;
    } seeds[] = {
        {"ok_pcm16_mono", good},
        {"ok_pcm8_stereo", simpleWav(2, 11025, 8, {128, 128, 200, 50, 0, 255})},
        {"ok_pcm16_stereo_96k", simpleWav(2, 96000, 16, pcm16({1, -1, 2, -2}))},
        {"ok_odd_chunks", riff({list, fmtChunk(1, 1, 22050, 8), dataChunk({1, 2, 3}), list})},
        {"ok_extensible", riff({extensibleFmtChunk(1, 44100, 16, 1), dataChunk(pcm16({5, 6}))})},
        {"bad_truncated", Bytes(good.begin(), good.end() - 3)},
        {"bad_float", riff({fmtChunk(3, 1, 8000, 32), dataChunk(Bytes(8, 0))})},
        {"bad_zero_channels", riff({fmtChunk(1, 0, 8000, 16, 2), dataChunk(Bytes(4, 0))})},
        {"bad_huge_chunk",
         riff({fmtChunk(1, 1, 8000, 8), Chunk{"data", {1, 2}, 0xFFFFFFF0u, true}})},
        {"bad_no_data", riff({fmtChunk(1, 1, 8000, 16)})},
    };
    for (const auto& s : seeds) {
        std::ofstream out(folder / (std::string(s.name) + ".wav"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(s.bytes.data()),
                  static_cast<std::streamsize>(s.bytes.size()));
        if (!out) {
            std::fprintf(stderr, "書き込めません: %s\n", s.name);
            return 1;
        }
    }
    return 0;
}
