// Writes the game's four WAV files into the folder given on the command line.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "synth.h"

namespace {

bool write(const std::filesystem::path& path, const kiryuza::synth::Sound& sound) {
    const std::vector<std::uint8_t> bytes = kiryuza::synth::encodeWav(sound);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "書き込めません: %s\n", path.string().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "使い方: %s 出力フォルダ\n", argc > 0 ? argv[0] : "kiryuza-synth");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    namespace s = kiryuza::synth;
    const bool ok =
        write(folder / "駒打音.wav", s::pieceClick()) && write(folder / "禁止.wav", s::refusal()) &&
        write(folder / "その他.wav", s::chime()) && write(folder / "BGM.wav", s::music());
    return ok ? 0 : 1;
}
