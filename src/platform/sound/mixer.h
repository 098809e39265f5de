// Mixes any number of playing clips into one stereo 16-bit stream. The game's thread starts and
// stops voices while the audio thread renders, so every call takes the mixer's lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace kiryuza::sound {

inline constexpr std::uint32_t kOutputRate = 44100;

class Mixer {
  public:
    // Interleaved stereo samples at kOutputRate. Shared so that a voice fading out keeps its
    // clip alive after the buffer has been freed.
    using Clip = std::shared_ptr<const std::vector<std::int16_t>>;

    // Voices stopped while sounding fade out over this many frames instead of clicking.
    static constexpr std::size_t kFadeFrames = 256;
    // A key sounding this many times at once loses its oldest voice to a new one.
    static constexpr std::size_t kMaxVoicesPerKey = 8;

    // Starts `clip` under `key`. `alone` first fades out the key's other voices (a restart);
    // otherwise the new voice sounds together with them.
    void play(std::int32_t key, Clip clip, bool loop, bool alone);
    // Fades out every voice of `key`.
    void stop(std::int32_t key);
    // Drops every voice at once.
    void clear();

    // Whether a looping voice of `key` is sounding (not fading out).
    bool looping(std::int32_t key) const;
    // Voices still producing sound, fading ones included.
    std::size_t voiceCount() const;

    // Writes `frames` stereo frames: the sum of all voices, held to the 16-bit range.
    void render(std::int16_t* out, std::size_t frames);

  private:
    struct Voice {
        std::int32_t key = 0;
        Clip clip;
        std::size_t position = 0;  // next frame of the clip
        bool loop = false;
        std::size_t fadeLeft = 0;  // frames left of the fade-out; 0 while not fading
        bool done = false;
    };

    void fadeOut(Voice& v);
    void mixVoice(Voice& v, std::size_t frames);

    mutable std::mutex mutex_;
    std::vector<Voice> voices_;
    std::vector<std::int32_t> sum_;
};

}  // namespace kiryuza::sound
