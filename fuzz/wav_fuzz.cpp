// The WAV reader of the sound library on arbitrary bytes: it must refuse or accept without a
// crash, and whatever it accepts must convert and play.
#include <cstdint>
#include <cstdlib>

#include "platform/sound/mixer.h"
#include "platform/sound/wav.h"

using namespace kiryuza::sound;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const WavResult r = parseWav(data, size);
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
