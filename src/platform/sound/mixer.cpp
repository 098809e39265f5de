#include "platform/sound/mixer.h"

#include <algorithm>

namespace kiryuza::sound {

void Mixer::fadeOut(Voice& v) {
    if (v.fadeLeft == 0) v.fadeLeft = kFadeFrames;
}

void Mixer::play(std::int32_t key, Clip clip, bool loop, bool alone) {
    if (!clip || clip->size() < 2) return;
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
    voices_.push_back(Voice{key, std::move(clip), 0, loop, 0, false});
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

// Adds up to `frames` frames of one voice into the sum, wrapping round when it loops and
// ramping down when it fades.
void Mixer::mixVoice(Voice& v, std::size_t frames) {
    const std::vector<std::int16_t>& s = *v.clip;
    const std::size_t length = s.size() / 2;
    std::size_t n = 0;
    while (n < frames && !v.done) {
        std::size_t take = std::min(frames - n, length - v.position);
        if (v.fadeLeft != 0) take = std::min(take, v.fadeLeft);
        std::int32_t* out = sum_.data() + 2 * n;
        const std::int16_t* in = s.data() + 2 * v.position;
        if (v.fadeLeft == 0) {
            for (std::size_t i = 0; i < 2 * take; ++i) out[i] += in[i];
        } else {
            for (std::size_t i = 0; i < take; ++i) {
                const auto gain = static_cast<std::int32_t>(v.fadeLeft - i);
                out[2 * i] += in[2 * i] * gain / static_cast<std::int32_t>(kFadeFrames);
                out[2 * i + 1] += in[2 * i + 1] * gain / static_cast<std::int32_t>(kFadeFrames);
            }
            v.fadeLeft -= take;
            if (v.fadeLeft == 0) v.done = true;
        }
        n += take;
        v.position += take;
        if (v.position == length) {
            v.position = 0;
            if (!v.loop) v.done = true;
        }
    }
}

void Mixer::render(std::int16_t* out, std::size_t frames) {
    std::lock_guard lock(mutex_);
    sum_.assign(2 * frames, 0);
    for (auto& v : voices_) mixVoice(v, frames);
    std::erase_if(voices_, [](const Voice& v) { return v.done; });
    for (std::size_t i = 0; i < 2 * frames; ++i) {
        out[i] = static_cast<std::int16_t>(std::clamp(sum_[i], -32768, 32767));
    }
}

}  // namespace kiryuza::sound
