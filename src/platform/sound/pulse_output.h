// The sound library's output to the desktop's sound server (PulseAudio, or PipeWire's
// PulseAudio service), written by the output thread, so the music keeps playing while the
// game's thread is busy with the computer's turn.
#pragma once

#include <memory>

#include "platform/sound/audio_output.h"
#include "platform/sound/output_thread.h"

namespace kiryuza::sound {

// Whether a PulseAudio server (PipeWire's too) answers where this process's clients would
// look for it: at the local addresses in PULSE_SERVER when that is set, else at the user's
// runtime folder. A server always offers an output, a null one on a machine without a sound
// card. Connecting costs a few microseconds.
bool pulseServerAnswers();

// A playback stream on the server the client library finds; none when there is no server.
std::unique_ptr<PcmSink> openPulseSink();

class PulseAudioBackend : public AudioBackend {
  public:
    // A device when a sound server answers at once; else when the client library finds one
    // elsewhere (a remote one, say) and a stream opens on it.
    bool hasDevice() override;
    // Starts the output thread; it never reports back, and the library never waits on it
    // except to end it.
    std::unique_ptr<AudioStream> open(Mixer& mixer) override;
};

}  // namespace kiryuza::sound
