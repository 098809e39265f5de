// The sound library driven from the game's thread while an output thread renders the mix, as
// the program runs it: play, loop, stop, free and load again, over and over. Built on its own
// under ThreadSanitizer as well, which reports any access the two threads share unguarded.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "platform/sound/output_thread.h"
#include "platform/sound/sound_library.h"
#include "sound/wav_builder.h"

namespace kiryuza::sound {
namespace {

using namespace kiryuza::testing;

// The program's output thread, writing into a device that takes each chunk at once and
// counts it. A sink opened now and then fails, as a server may.
class CountingBackend : public AudioBackend {
  public:
    class Sink : public PcmSink {
      public:
        explicit Sink(std::atomic<long>& chunks) : chunks_(chunks) {}
        bool write(const std::int16_t* samples, std::size_t frames) override {
            EXPECT_NE(samples, nullptr);
            EXPECT_EQ(frames, OutputThread::kChunkFrames);
            ++chunks_;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            return true;
        }

      private:
        std::atomic<long>& chunks_;
    };

    bool hasDevice() override { return true; }
    std::unique_ptr<AudioStream> open(Mixer& mixer) override {
        return std::make_unique<OutputThread>(mixer, [this]() -> std::unique_ptr<PcmSink> {
            if (++opened % 5 == 0) return nullptr;
            return std::make_unique<Sink>(chunks);
        });
    }

    std::atomic<long> opened{0};
    std::atomic<long> chunks{0};
};

Bytes tone(std::uint32_t rate, int channels, std::size_t frames, int level) {
    Bytes data;
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels); ++i)
        put16(data, static_cast<std::uint16_t>(i % 2 == 0 ? level : -level));
    return simpleWav(static_cast<std::uint16_t>(channels), rate, 16, data);
}

TEST(SoundLibraryStress, GameThreadCallsWhileTheOutputRenders) {
    auto owned = std::make_unique<CountingBackend>();
    CountingBackend& backend = *owned;
    SoundLibrary lib(std::move(owned));
    const std::int32_t library = lib.dsInitialize();
    ASSERT_NE(library, 0);
    const Bytes sounds[] = {tone(44100, 1, 300, 9000), tone(32000, 1, 5000, 3000),
                            tone(22050, 2, 700, 12000), tone(11025, 1, 90, 20000)};
    std::mt19937 random(20261207);
    std::vector<std::int32_t> buffers;
    for (int i = 0; i < 20000; ++i) {
        const int action = static_cast<int>(random() % 8);
        if (buffers.empty() || action == 0) {
            const Bytes& wav = sounds[random() % 4];
            const std::int32_t flags = random() % 2 == 0 ? 3 : 1;
            buffers.push_back(lib.dsCreateDSB(library, wav.data(), wav.size(), flags));
            continue;
        }
        const std::size_t which = random() % buffers.size();
        const std::int32_t b = buffers[which];
        switch (action) {
            case 1:
            case 2:
            case 3:
                lib.dsPlay(b);
                break;
            case 4:
                lib.dsPlayLooping(b);
                break;
            case 5:
                lib.dsStop(b);
                break;
            default:
                lib.dsFree(b);
                buffers.erase(buffers.begin() + static_cast<long>(which));
                break;
        }
        if (i % 1000 == 0) std::this_thread::yield();
    }
    // The output kept up with the game: it wrote, and every buffer is accounted for.
    EXPECT_GT(backend.chunks.load(), 0);
    EXPECT_EQ(lib.bufferCount(), buffers.size());
    for (std::int32_t b : buffers) lib.dsFree(b);
    EXPECT_EQ(lib.bufferCount(), 0u);
    lib.dsTerminate(library);
    EXPECT_EQ(lib.mixer().voiceCount(), 0u);
}

}  // namespace
}  // namespace kiryuza::sound
