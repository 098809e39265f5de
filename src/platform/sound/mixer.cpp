#include "platform/sound/mixer.h"

#include <algorithm>
#include <cmath>

namespace kiryuza::sound {

namespace {

constexpr int kFractionBits = 32;
constexpr std::uint64_t kOne = std::uint64_t{1} << kFractionBits;

}  // namespace

std::int16_t bend(std::int32_t sum) {
    const std::int32_t size = std::abs(sum);
    if (size <= Mixer::kKnee) return static_cast<std::int16_t>(sum);
    // Above the knee: the rest of the range approached along tanh, which leaves the knee
    // with slope 1 and never reaches full scale.
    constexpr double room = 32767.0 - Mixer::kKnee;
    const double over = (size - Mixer::kKnee) / room;
    const auto bent = static_cast<std::int32_t>(Mixer::kKnee + room * std::tanh(over));
    return static_cast<std::int16_t>(sum < 0 ? -bent : bent);
}

void Mixer::fadeOut(Voice& v) {
    if (v.fadeLeft == 0) v.fadeLeft = kFadeFrames;
}

void Mixer::play(std::int32_t key, Clip clip, bool loop, bool alone, std::size_t from) {
    if (!clip || clip->frames() == 0 || clip->rate == 0 || clip->rate > kOutputRate ||
        (clip->channels != 1 && clip->channels != 2))
        return;
    const std::uint64_t step = (std::uint64_t{clip->rate} << kFractionBits) / kOutputRate;
    const std::uint64_t start = std::uint64_t{from % clip->frames()} << kFractionBits;
    std::lock_guard lock(mutex_);
    std::size_t sounding = 0;
    for (auto& v : voices_) {
        if (v.key != key || v.fadeLeft != 0) continue;
        if (alone) {
            fadeOut(v);
        } else {
            ++sounding;
        }
    }
    // Voices are kept oldest first, so the first sounding one of the key is the oldest.
    if (sounding >= kMaxVoicesPerKey) {
        for (auto& v : voices_) {
            if (v.key == key && v.fadeLeft == 0) {
                fadeOut(v);
                break;
            }
        }
    }
    voices_.push_back(Voice{key, std::move(clip), start, step, loop, 0, false});
    if (startListener_) startListener_();
}

void Mixer::stop(std::int32_t key) {
    std::lock_guard lock(mutex_);
    for (auto& v : voices_) {
        if (v.key == key) fadeOut(v);
    }
}

void Mixer::clear() {
    std::lock_guard lock(mutex_);
    voices_.clear();
}

bool Mixer::looping(std::int32_t key) const {
    std::lock_guard lock(mutex_);
    return std::any_of(voices_.begin(), voices_.end(),
                       [key](const Voice& v) { return v.key == key && v.loop && v.fadeLeft == 0; });
}

std::size_t Mixer::voiceCount() const {
    std::lock_guard lock(mutex_);
    return voices_.size();
}

void Mixer::setStartListener(std::function<void()> listener) {
    std::lock_guard lock(mutex_);
    startListener_ = std::move(listener);
}

// Copies `count` frames of the clip from frame `first` on to `out`: past its end a looping
// clip starts again from its first frame, any other repeats its last.
void Mixer::fetch(const PcmClip& c, bool loop, std::size_t first, std::size_t count,
                  std::int16_t* out) {
    const std::size_t length = c.frames();
    const auto channels = static_cast<std::size_t>(c.channels);
    const std::int16_t* const start = out;
    while (count > 0) {
        if (first >= length) {
            if (!loop) {
                const std::int16_t* last = out != start ? out - channels : nullptr;
                for (std::size_t n = 0; n < count * channels; ++n)
                    out[n] = last != nullptr ? last[n % channels] : 0;
                return;
            }
            first %= length;
        }
        const std::size_t run = std::min(count, length - first);
        c.copyFrames(first, run, out);
        out += run * channels;
        first += run;
        count -= run;
    }
}

// Adds up to `frames` frames of one voice into the sum: each output frame lies between two
// frames of the clip and takes the straight line between them (the frame after a looping
// clip's last is its first), ramping down when it fades. The clip frames within reach are
// fetched first, so a clip kept in a file is read a block at a time.
void Mixer::mixVoice(Voice& v, std::size_t frames) {
    const PcmClip& c = *v.clip;
    const std::size_t length = c.frames();
    const std::uint64_t end = std::uint64_t{length} << kFractionBits;
    if (v.position >= end) {
        if (!v.loop) {
            v.done = true;
            return;
        }
        v.position %= end;
    }
    if (frames == 0) return;
    // From the current frame to the one after the last this call reaches; positions past
    // the end of a looping clip count on, and the fetched frames start again.
    const std::size_t first = static_cast<std::size_t>(v.position >> kFractionBits);
    const std::size_t reach =
        static_cast<std::size_t>((v.position + v.step * (frames - 1)) >> kFractionBits) - first + 2;
    const auto channels = static_cast<std::size_t>(c.channels);
    window_.resize(reach * channels);
    fetch(c, v.loop, first, reach, window_.data());
    std::uint64_t position = v.position;
    for (std::size_t n = 0; n < frames; ++n) {
        if (!v.loop && position >= end) {
            v.done = true;
            break;
        }
        const std::size_t at = static_cast<std::size_t>(position >> kFractionBits) - first;
        const auto fraction = static_cast<std::int64_t>(position & (kOne - 1));
        for (std::size_t side = 0; side < 2; ++side) {
            // Mono feeds both sides.
            const std::size_t s = channels == 2 ? side : 0;
            const std::int32_t a = window_[at * channels + s];
            const std::int32_t b = window_[(at + 1) * channels + s];
            auto value = static_cast<std::int32_t>(a + (((b - a) * fraction) >> kFractionBits));
            if (v.fadeLeft != 0)
                value = value * static_cast<std::int32_t>(v.fadeLeft) /
                        static_cast<std::int32_t>(kFadeFrames);
            sum_[2 * n + side] += value;
        }
        position += v.step;
        if (v.fadeLeft != 0 && --v.fadeLeft == 0) {
            v.done = true;
            break;
        }
    }
    v.position = v.loop ? position % end : position;
}

void Mixer::render(std::int16_t* out, std::size_t frames) {
    std::lock_guard lock(mutex_);
    sum_.assign(2 * frames, 0);
    for (auto& v : voices_) mixVoice(v, frames);
    std::erase_if(voices_, [](const Voice& v) { return v.done; });
    for (std::size_t i = 0; i < 2 * frames; ++i) out[i] = bend(sum_[i]);
}

}  // namespace kiryuza::sound
