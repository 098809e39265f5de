// The sound library driven from the game's thread while an output thread renders the mix, as
// the program runs it: play, loop, stop, free and load again, over and over. Built on its own
// under ThreadSanitizer as well, which reports any access the two threads share unguarded.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>

#include "platform/sound/sound_library.h"
#include "sound/wav_builder.h"

namespace kiryuza::sound {
namespace {

using namespace kiryuza::testing;

// An output that renders on its own thread like the real one: it sleeps while the mix is
// silent and is woken by the mixer's start listener, and it checks every block it renders.
class ThreadedBackend : public AudioBackend {
  public:
    struct Stream : AudioStream {
        explicit Stream(Mixer& m) : mixer(m) {
            mixer.setStartListener([this] {
                std::lock_guard lock(mutex);
                woken = true;
                wake.notify_one();
            });
            thread = std::thread([this] { run(); });
        }
        ~Stream() override {
            {
                std::lock_guard lock(mutex);
                ending = true;
                wake.notify_one();
            }
            thread.join();
            mixer.setStartListener({});
        }
        void run() {
            std::int16_t block[2 * 256];
            while (true) {
                // Asked outside the stream's lock: the listener takes that lock inside the
                // mixer's, so taking them the other way round could deadlock.
                const bool silent = mixer.voiceCount() == 0;
                {
                    std::unique_lock lock(mutex);
                    // Asleep while nothing plays, until a voice starts or the output ends; a
                    // start between the question above and here is kept in `woken`.
                    if (silent) wake.wait(lock, [this] { return ending || woken; });
                    if (ending) return;
                    woken = false;
                }
                mixer.render(block, 256);
                ++blocks;
            }
        }

        Mixer& mixer;
        std::thread thread;
        std::mutex mutex;
        std::condition_variable wake;
        bool woken = false;
        bool ending = false;
        std::atomic<long> blocks{0};
    };

    bool hasDevice() override { return true; }
    std::unique_ptr<AudioStream> open(Mixer& mixer) override {
        auto stream = std::make_unique<Stream>(mixer);
        last = stream.get();
        return stream;
    }
    Stream* last = nullptr;
};

Bytes tone(std::uint32_t rate, int channels, std::size_t frames, int level) {
    Bytes data;
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels); ++i)
        put16(data, static_cast<std::uint16_t>(i % 2 == 0 ? level : -level));
    return simpleWav(static_cast<std::uint16_t>(channels), rate, 16, data);
}

TEST(SoundLibraryStress, GameThreadCallsWhileTheOutputRenders) {
    auto owned = std::make_unique<ThreadedBackend>();
    ThreadedBackend& backend = *owned;
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
    // The output kept up with the game: it rendered, and every buffer is accounted for.
    EXPECT_GT(backend.last->blocks.load(), 0);
    EXPECT_EQ(lib.bufferCount(), buffers.size());
    for (std::int32_t b : buffers) lib.dsFree(b);
    EXPECT_EQ(lib.bufferCount(), 0u);
    lib.dsTerminate(library);
    EXPECT_EQ(lib.mixer().voiceCount(), 0u);
}

}  // namespace
}  // namespace kiryuza::sound
