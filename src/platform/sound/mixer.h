// Mixes any number of playing clips into one stereo 16-bit stream at kOutputRate. Clips stay in
// their own rate and channel count, in memory or in their file, and are converted as they play,
// so loading a sound costs no more than copying it, or nothing at all. The game's thread starts and
// stops voices while the audio thread renders, so every call takes the mixer's lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/sound/wav.h"

namespace kiryuza::sound {

inline constexpr std::uint32_t kOutputRate = 44100;
// The mix is stereo: each frame is a left and a right sample.
inline constexpr std::size_t kOutputChannels = 2;

class Mixer {
  public:
    // Samples at any rate up to kOutputRate, mono or stereo. Shared so that a voice fading out
    // keeps its clip alive after the buffer has been freed.
    using Clip = std::shared_ptr<const PcmClip>;

    // Voices stopped while sounding fade out over this many frames instead of clicking.
    static constexpr std::size_t kFadeFrames = 256;
    // A key sounding this many times at once loses its oldest voice to a new one.
    static constexpr std::size_t kMaxVoicesPerKey = 8;
    // The mix passes unchanged up to this level; above it, it is bent smoothly towards full
    // scale instead of being cut off, so loud overlaps do not crackle.
    static constexpr std::int32_t kKnee = 16384;

    // Starts `clip` under `key`, from frame `from` of the clip. `alone` first fades out the
    // key's other voices (a restart); otherwise the new voice sounds together with them.
    // Clips above kOutputRate, without frames or with a bad channel count are refused.
    void play(std::int32_t key, Clip clip, bool loop, bool alone, std::size_t from = 0);
    // Fades out every voice of `key`.
    void stop(std::int32_t key);
    // Drops every voice at once.
    void clear();

    // Whether a looping voice of `key` is sounding (not fading out).
    bool looping(std::int32_t key) const;
    // Voices still producing sound, fading ones included.
    std::size_t voiceCount() const;

    // Called, under the mixer's lock, each time a voice starts: the output wakes up with it.
    // It must not call the mixer.
    void setStartListener(std::function<void()> listener);

    // Writes `frames` stereo frames: the sum of all voices, bent into the 16-bit range.
    void render(std::int16_t* out, std::size_t frames);

  private:
    struct Voice {
        std::int32_t key = 0;
        Clip clip;
        std::uint64_t position = 0;  // in clip frames, with 32 fractional bits
        std::uint64_t step = 0;      // clip frames per output frame, likewise
        bool loop = false;
        std::size_t fadeLeft = 0;  // frames left of the fade-out; 0 while not fading
        bool done = false;
    };

    void fadeOut(Voice& v);
    static void fetch(const PcmClip& c, bool loop, std::size_t first, std::size_t count,
                      std::int16_t* out);
    void mixVoice(Voice& v, std::size_t frames);

    mutable std::mutex mutex_;
    std::vector<Voice> voices_;
    std::vector<std::int32_t> sum_;
    std::vector<std::int16_t> window_;  // the frames of the clip being mixed within reach
    std::function<void()> startListener_;
};

// The limiter of the mix: `sum` unchanged up to Mixer::kKnee in size, then bent smoothly
// towards full scale, never beyond it.
std::int16_t bend(std::int32_t sum);

}  // namespace kiryuza::sound
