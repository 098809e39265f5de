// The game's sound library: WAV buffers behind 32-bit handles, played through a mixer that an
// audio back end pulls from on its own thread. Plain C++; the program's back end lives in
// pulse_output.h, and desktop_sound.h puts the two together.
//
// Flags of dsCreateDSB: bit 1 (value 2) makes the buffer an effect whose every dsPlay adds a
// voice, so repeated effects overlap (the game loads its effects with 3). Without it (the music
// is loaded with 1) the buffer has one voice and dsPlay starts it again from the beginning.
// Bit 0 and the other bits carry no meaning. dsPlayLooping on a buffer that is already looping
// leaves it running; otherwise it replaces the buffer's voices with one looping voice.
//
// The output opens when a sound first plays, not when the library starts: a game that plays
// nothing never starts the audio stack beyond asking whether there is a device.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "interfaces/platform.h"
#include "platform/sound/audio_output.h"
#include "platform/sound/mixer.h"

namespace kiryuza::sound {

inline constexpr std::int32_t kFlagOverlap = 2;
// Sounds at least this long (in bytes of samples) are played from their file: the music, not
// the effects, which must start at once.
inline constexpr std::size_t kStreamBytes = 1 << 20;

class SoundLibrary : public サウンド {
  public:
    // Sounds of `streamBytes` or more are played from their file.
    explicit SoundLibrary(std::unique_ptr<AudioBackend> backend,
                          std::size_t streamBytes = kStreamBytes);
    ~SoundLibrary() override;

    std::int32_t dsInitialize() override;
    std::int32_t dsCreateDSB(std::int32_t library, const std::uint8_t* data, std::size_t size,
                             std::int32_t flags) override;
    // A long sound (kStreamBytes or more by default) stays in its file and is read as it
    // plays; a shorter one is read into memory at once.
    std::int32_t dsCreateDSBFromFile(std::int32_t library,
                                     const std::shared_ptr<const 読み口>& file,
                                     std::int32_t flags) override;
    void dsPlay(std::int32_t buffer) override;
    void dsPlayLooping(std::int32_t buffer) override;
    void dsStop(std::int32_t buffer) override;
    void dsFree(std::int32_t buffer) override;
    void dsTerminate(std::int32_t library) override;

    // Keeps the output closed until released: sounds played meanwhile wait in the mixer, from
    // their beginning. The program holds it until its window has shown its first frame.
    void holdOutput();
    void releaseOutput();

    // For tests and diagnostics.
    Mixer& mixer() { return mixer_; }
    bool outputOpen() const { return stream_ != nullptr; }
    std::size_t bufferCount() const { return buffers_.size(); }

  private:
    struct Buffer {
        Mixer::Clip clip;
        bool overlap = false;
    };

    const Buffer* bufferFor(std::int32_t buffer) const;
    std::int32_t newBufferHandle();
    std::int32_t addBuffer(PcmClip clip, std::int32_t flags);
    // Opens the output for a sound that has started, unless it is open, held or has failed.
    void openOutput();

    std::unique_ptr<AudioBackend> backend_;
    std::size_t streamBytes_;
    Mixer mixer_;
    std::unique_ptr<AudioStream> stream_;
    bool held_ = false;
    bool openFailed_ = false;
    std::int32_t library_ = 0;
    std::int32_t lastLibrary_ = 0;
    std::int32_t lastBuffer_ = 0;
    std::map<std::int32_t, Buffer> buffers_;
};

}  // namespace kiryuza::sound
