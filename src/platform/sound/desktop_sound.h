// The sound library the program uses: the game's library playing into the desktop's sound
// server.
#pragma once

#include <memory>

#include "platform/sound/pulse_output.h"
#include "platform/sound/sound_library.h"

namespace kiryuza::sound {

class DesktopSoundLibrary : public SoundLibrary {
  public:
    DesktopSoundLibrary() : SoundLibrary(std::make_unique<PulseAudioBackend>()) {}
};

}  // namespace kiryuza::sound
