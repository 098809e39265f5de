#include "platform/sound/output_thread.h"

#include <algorithm>

#include <pthread.h>

namespace kiryuza::sound {

void MixerFeed::rearm() {
    silentFrames_ = 0;
    leadIn_ = kLeadInFrames;
}

bool MixerFeed::fill(std::int16_t* out, std::size_t frames) {
    const std::size_t quiet = std::min(frames, leadIn_);
    std::fill(out, out + quiet * kOutputChannels, std::int16_t{0});
    leadIn_ -= quiet;
    mixer_.render(out + quiet * kOutputChannels, frames - quiet);
    silentFrames_ = mixer_.voiceCount() == 0 ? silentFrames_ + frames : 0;
    return silentFrames_ >= kIdleFrames;
}

OutputThread::OutputThread(Mixer& mixer, SinkOpener open)
    : mixer_(mixer),
      open_(std::move(open)),
      feed_(mixer),
      samples_(kChunkFrames * kOutputChannels) {
    // The listener runs under the mixer's lock, so it takes only this thread's lock; the
    // output thread never calls the mixer while holding it.
    mixer_.setStartListener([this] {
        const std::lock_guard lock(mutex_);
        wake_ = true;
        woken_.notify_one();
    });
    wake_ = mixer_.voiceCount() != 0;  // voices that started before the listener
    thread_ = std::thread([this] { run(); });
}

OutputThread::~OutputThread() {
    mixer_.setStartListener({});
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
        woken_.notify_one();
    }
    thread_.join();
}

void OutputThread::run() {
    ::pthread_setname_np(::pthread_self(), "kiryuza-audio");
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            woken_.wait(lock, [this] { return wake_ || quit_; });
            if (quit_) return;
            wake_ = false;
        }
        play();
    }
}

bool OutputThread::quitting() {
    const std::lock_guard lock(mutex_);
    return quit_;
}

// Writes the mix until it has been silent long enough, or the thread is to end.
void OutputThread::play() {
    const std::unique_ptr<PcmSink> sink = open_ ? open_() : nullptr;
    if (!sink) return;
    feed_.rearm();
    while (!quitting()) {
        const bool idle = feed_.fill(samples_.data(), kChunkFrames);
        if (!sink->write(samples_.data(), kChunkFrames)) return;
        if (!idle) continue;
        // A voice that starts after this look wakes the thread again.
        {
            const std::lock_guard lock(mutex_);
            wake_ = false;
        }
        if (mixer_.voiceCount() == 0) return;
    }
}

}  // namespace kiryuza::sound
