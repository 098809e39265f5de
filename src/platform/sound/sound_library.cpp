#include "platform/sound/sound_library.h"

#include "platform/sound/wav.h"

namespace kiryuza::sound {
namespace {

// Library handles count up from here, so a stale one from an earlier session never matches.
constexpr std::int32_t kFirstLibrary = 0x4B5A0000;

}  // namespace

SoundLibrary::SoundLibrary(std::unique_ptr<AudioBackend> backend) : backend_(std::move(backend)) {}

SoundLibrary::~SoundLibrary() {
    dsTerminate(library_);
}

std::int32_t SoundLibrary::dsInitialize() {
    if (library_ != 0) return library_;
    if (!backend_ || !backend_->hasDevice()) return 0;
    stream_ = backend_->open(mixer_);
    if (!stream_) return 0;
    lastLibrary_ =
        lastLibrary_ == 0 || lastLibrary_ == INT32_MAX ? kFirstLibrary : lastLibrary_ + 1;
    library_ = lastLibrary_;
    return library_;
}

// The next unused buffer handle; handles are not reused soon, so a freed one stays unknown.
std::int32_t SoundLibrary::newBufferHandle() {
    do {
        lastBuffer_ = lastBuffer_ == INT32_MAX ? 1 : lastBuffer_ + 1;
    } while (buffers_.count(lastBuffer_) != 0);
    return lastBuffer_;
}

std::int32_t SoundLibrary::dsCreateDSB(std::int32_t library, const std::uint8_t* data,
                                       std::size_t size, std::int32_t flags) {
    if (library == 0 || library != library_) return 0;
    WavResult wav = parseWav(data, size);
    if (wav.error != WavError::none) return 0;
    // Kept as it is; the mixer converts as it plays. Only a rate above the output's is brought
    // down here, where it can be filtered properly.
    auto clip = std::make_shared<const PcmClip>(
        wav.clip.rate > kOutputRate ? convertRate(wav.clip, kOutputRate) : std::move(wav.clip));
    const std::int32_t handle = newBufferHandle();
    buffers_[handle] = Buffer{std::move(clip), (flags & kFlagOverlap) != 0};
    return handle;
}

const SoundLibrary::Buffer* SoundLibrary::find(std::int32_t buffer) const {
    if (buffer == 0) return nullptr;
    const auto it = buffers_.find(buffer);
    return it == buffers_.end() ? nullptr : &it->second;
}

void SoundLibrary::dsPlay(std::int32_t buffer) {
    if (const Buffer* b = find(buffer)) mixer_.play(buffer, b->clip, false, !b->overlap);
}

void SoundLibrary::dsPlayLooping(std::int32_t buffer) {
    const Buffer* b = find(buffer);
    if (b == nullptr || mixer_.looping(buffer)) return;
    mixer_.play(buffer, b->clip, true, true);
}

void SoundLibrary::dsStop(std::int32_t buffer) {
    if (find(buffer) != nullptr) mixer_.stop(buffer);
}

void SoundLibrary::dsFree(std::int32_t buffer) {
    if (find(buffer) == nullptr) return;
    mixer_.stop(buffer);
    buffers_.erase(buffer);
}

void SoundLibrary::dsTerminate(std::int32_t library) {
    if (library == 0 || library != library_) return;
    // The output thread ends first, so nothing renders while the voices go.
    stream_.reset();
    mixer_.clear();
    buffers_.clear();
    library_ = 0;
}

}  // namespace kiryuza::sound
