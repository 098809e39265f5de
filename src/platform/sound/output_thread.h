// The thread that sends the mix to the sound output. It sleeps until a voice starts, then opens
// a sink and writes the mix into it until the mix has been silent for a while, closes the sink
// and sleeps again: an idle game leaves it asleep and holds no connection to the sound server.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sound/audio_output.h"
#include "platform/sound/mixer.h"

namespace kiryuza::sound {

// Where the output thread writes: a stream to the sound server, or a test's stand-in.
class PcmSink {
  public:
    virtual ~PcmSink() = default;
    // Queues `frames` stereo frames, waiting while the queue is full; false once the
    // connection has broken.
    virtual bool write(const std::int16_t* samples, std::size_t frames) = 0;
};

// Opens a sink for a run of sound; none when the output cannot be reached.
using SinkOpener = std::function<std::unique_ptr<PcmSink>()>;

// What the output thread writes: a little silence after each start, then the mix, counting
// how long the mix has been silent.
class MixerFeed {
  public:
    // Half a second: longer than the server holds, so what was mixed before has been heard.
    static constexpr std::size_t kIdleFrames = kOutputRate / 2;
    // Silence handed out first after each start: a sound server joining a new stream to a
    // running output may skip its first milliseconds, which must not be the sound's attack.
    static constexpr std::size_t kLeadInFrames = kOutputRate / 50;

    explicit MixerFeed(Mixer& mixer) : mixer_(mixer) {}
    // Counts silence afresh and hands out the lead-in again, as when the output starts.
    void rearm();
    // Writes `frames` stereo frames; true when the mix has now been silent for kIdleFrames.
    bool fill(std::int16_t* out, std::size_t frames);

  private:
    Mixer& mixer_;
    std::size_t silentFrames_ = 0;
    std::size_t leadIn_ = kLeadInFrames;
};

// A sink that cannot be opened, or breaks, leaves the voices of the moment unheard; the next
// voice to start tries again.
class OutputThread : public AudioStream {
  public:
    // Frames mixed and written at a time: a voice started while a chunk is being written
    // waits for the next one, about 23 ms at most.
    static constexpr std::size_t kChunkFrames = 1024;

    OutputThread(Mixer& mixer, SinkOpener open);
    ~OutputThread() override;
    OutputThread(const OutputThread&) = delete;
    OutputThread& operator=(const OutputThread&) = delete;

  private:
    void run();
    bool quitting();
    void play();

    Mixer& mixer_;
    SinkOpener open_;
    MixerFeed feed_;
    std::vector<std::int16_t> samples_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wake_ = false;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace kiryuza::sound
