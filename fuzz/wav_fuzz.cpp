// The WAV reader of the sound library on arbitrary bytes: it must refuse or accept without a
// crash, and whatever it accepts must convert and play. The same bytes then go through the
// library as a file played from where it lies (as the music is), whole and cut short after it
// was opened, and the file path must agree with the bytes path on what it takes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/sound/mixer.h"
#include "platform/sound/sound_library.h"
#include "platform/sound/wav.h"

using namespace kiryuza::sound;

namespace {

// A machine with an output that never opens: the voices stay in the mixer, rendered here.
class NoOutput : public AudioBackend {
  public:
    bool hasDevice() override { return true; }
    std::unique_ptr<AudioStream> open(Mixer&) override { return nullptr; }
};

// A file that loses its second half after it was opened, as one cut short while it plays.
class CutFile : public kiryuza::読み口 {
  public:
    CutFile(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t 大きさ() const override { return size_; }
    bool 読む(std::uint64_t at, void* to, std::size_t n) const override {
        if (at > size_ / 2 || n > size_ / 2 - at) return false;
        if (n != 0) std::memcpy(to, data_ + at, n);
        return true;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// Loads the file into a library that plays every sound from its file, plays it looping and once,
// and renders a little; whether it was taken.
bool playFromFile(const std::shared_ptr<const kiryuza::読み口>& file) {
    SoundLibrary library(std::make_unique<NoOutput>(), 0);
    const std::int32_t handle = library.dsCreateDSBFromFile(library.dsInitialize(), file, 3);
    if (handle == 0) return false;
    library.dsPlayLooping(handle);
    library.dsPlay(handle);
    std::int16_t out[2 * 512];
    library.mixer().render(out, 512);
    library.dsStop(handle);
    library.mixer().render(out, 512);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const WavResult r = parseWav(data, size);
    const bool fromFile = playFromFile(std::make_shared<const kiryuza::メモリ読み口>(
        std::vector<std::uint8_t>(data, data + size)));
    (void)playFromFile(std::make_shared<const CutFile>(data, size));
    if (fromFile != (r.error == WavError::none)) std::abort();
    if (r.error != WavError::none) {
        if (!r.clip.samples.empty()) std::abort();
        return 0;
    }
    const PcmClip& c = r.clip;
    if (c.channels < 1 || c.channels > 2 || c.rate < kMinRate || c.rate > kMaxRate ||
        c.frames() == 0 || c.samples.size() % c.channels != 0 || c.samples.size() > size) {
        std::abort();
    }
    auto played =
        std::make_shared<const PcmClip>(c.rate > kOutputRate ? convertRate(c, kOutputRate) : c);
    if (played->frames() == 0 || played->channels != c.channels) std::abort();
    Mixer mixer;
    mixer.play(1, played, true, true);
    mixer.play(2, played, false, false, c.frames() / 2);
    std::int16_t out[2 * 512];
    mixer.render(out, 512);
    mixer.stop(1);
    mixer.render(out, 512);
    return 0;
}
