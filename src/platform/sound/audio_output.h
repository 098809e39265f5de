// What the sound library plays into: an audio output that pulls the mix on a thread of its own.
// The library knows only these; the desktop's output (pulse_output.h) implements them.
#pragma once

#include <memory>

#include "platform/sound/mixer.h"

namespace kiryuza::sound {

// A running audio output. Destroying it stops the output and its thread.
class AudioStream {
  public:
    virtual ~AudioStream() = default;
};

// Where the mixed sound goes.
class AudioBackend {
  public:
    virtual ~AudioBackend() = default;
    // Whether the machine has an audio output at all; asked once per dsInitialize.
    virtual bool hasDevice() = 0;
    // Starts pulling kOutputRate stereo 16-bit frames from `mixer`, including any voices that
    // are already playing; null when that fails. Asked when a sound first plays.
    virtual std::unique_ptr<AudioStream> open(Mixer& mixer) = 0;
};

}  // namespace kiryuza::sound
