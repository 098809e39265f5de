// The Qt Multimedia side of the sound library: a QAudioSink in pull mode on its own thread, so
// the music keeps playing while the game's thread is busy with the computer's turn. The sink
// runs only while something plays: it starts when a voice starts and stops once the mix has
// been silent for a while, so an idle game leaves the audio threads asleep.
#pragma once

#include <QIODevice>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/sound/sound_library.h"

namespace kiryuza::sound {

// A read-only, endless device that renders the mixer on every read. Once the mixer has been
// silent for kIdleFrames in a row, it says so, once, until it is rearmed.
class MixerDevice : public QIODevice {
  public:
    // Half a second: longer than the sink holds, so what was mixed before has been heard.
    static constexpr qint64 kIdleFrames = kOutputRate / 2;
    // Silence handed out first after each start: a sound server joining a new stream to a
    // running output may skip its first milliseconds, which must not be the sound's attack.
    static constexpr qint64 kLeadInFrames = kOutputRate / 50;

    explicit MixerDevice(Mixer& mixer, QObject* parent = nullptr);
    void setIdleHandler(std::function<void()> handler) { idleHandler_ = std::move(handler); }
    // Counts silence afresh and hands out the lead-in again, as when the output starts.
    void rearm();
    // Always unbuffered: Qt's read-ahead would render the mix early and delay every effect.
    bool open(OpenMode mode) override { return QIODevice::open(mode | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

  private:
    Mixer& mixer_;
    std::vector<std::int16_t> frames_;
    std::function<void()> idleHandler_;
    qint64 silentFrames_ = 0;
    bool idleTold_ = false;
    qint64 leadIn_ = kLeadInFrames;
};

// Whether a PulseAudio server (PipeWire's too) answers where this process's clients, Qt's
// included, would look for it: at the local addresses in PULSE_SERVER when that is set, else
// at the user's runtime folder. A server always offers an output, a null one on a machine
// without a sound card. Connecting costs a few microseconds; Qt's own look costs milliseconds.
bool pulseServerAnswers();

class QtAudioBackend : public AudioBackend {
  public:
    // A device when a sound server answers; else when Qt lists an audio output. No device
    // when there is no Qt application yet. Qt's list is trusted once: without a device a sink
    // would still appear to start, so nothing is tried.
    bool hasDevice() override;
    // Starts the output thread with the default device; it never reports back, and the
    // library never waits on it except to end it.
    std::unique_ptr<AudioStream> open(Mixer& mixer) override;
};

// The library the program uses.
class QtSoundLibrary : public SoundLibrary {
  public:
    QtSoundLibrary();
};

}  // namespace kiryuza::sound
