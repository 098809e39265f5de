#include "platform/sound/sound_library.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/sound/wav.h"

namespace kiryuza::sound {
namespace {

// Library handles count up from here, so a stale one from an earlier session never matches.
constexpr std::int32_t kFirstLibrary = 0x4B5A0000;

// The samples of a WAV file, read from it as they play; silence wherever the file no longer
// has them.
class FileSamples : public SampleSource {
  public:
    FileSamples(std::shared_ptr<const 読み口> file, const WavLayout& layout)
        : file_(std::move(file)),
          offset_(layout.dataOffset),
          channels_(static_cast<std::size_t>(layout.channels)),
          bits_(layout.bits) {}

    void read(std::size_t first, std::size_t count, std::int16_t* out) const override {
        const std::size_t bytesPerSample = static_cast<std::size_t>(bits_ / 8);
        std::size_t sample = first * channels_;
        std::size_t left = count * channels_;
        // A block at a time through a small buffer, decoded as it comes.
        std::uint8_t bytes[4096];
        while (left > 0) {
            const std::size_t n = std::min(left, sizeof bytes / bytesPerSample);
            if (file_->読む(offset_ + sample * bytesPerSample, bytes, n * bytesPerSample)) {
                decodeSamples(bytes, n, bits_, out);
            } else {
                std::fill_n(out, n, std::int16_t{0});
            }
            out += n;
            sample += n;
            left -= n;
        }
    }

  private:
    std::shared_ptr<const 読み口> file_;
    std::uint64_t offset_;
    std::size_t channels_;
    int bits_;
};

}  // namespace

SoundLibrary::SoundLibrary(std::unique_ptr<AudioBackend> backend, std::size_t streamBytes)
    : backend_(std::move(backend)), streamBytes_(streamBytes) {}

SoundLibrary::~SoundLibrary() {
    dsTerminate(library_);
}

std::int32_t SoundLibrary::dsInitialize() {
    if (library_ != 0) return library_;
    if (!backend_ || !backend_->hasDevice()) return 0;
    openFailed_ = false;
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
    return addBuffer(std::move(wav.clip), flags);
}

std::int32_t SoundLibrary::dsCreateDSBFromFile(std::int32_t library,
                                               const std::shared_ptr<const 読み口>& file,
                                               std::int32_t flags) {
    if (library == 0 || library != library_ || !file) return 0;
    const WavLayout layout =
        readWavLayout([&file](std::uint64_t offset, std::size_t n,
                              std::uint8_t* out) { return file->読む(offset, out, n); },
                      file->大きさ());
    if (layout.error != WavError::none) return 0;
    PcmClip clip{layout.rate, layout.channels, {}, nullptr, 0};
    if (layout.dataBytes >= streamBytes_ && layout.rate <= kOutputRate) {
        clip.source = std::make_shared<const FileSamples>(file, layout);
        clip.sourceFrames = layout.frames();
    } else {
        std::vector<std::uint8_t> bytes(layout.dataBytes);
        if (!file->読む(layout.dataOffset, bytes.data(), bytes.size())) return 0;
        clip.samples.resize(bytes.size() / static_cast<std::size_t>(layout.bits / 8));
        decodeSamples(bytes.data(), clip.samples.size(), layout.bits, clip.samples.data());
    }
    return addBuffer(std::move(clip), flags);
}

std::int32_t SoundLibrary::addBuffer(PcmClip clip, std::int32_t flags) {
    // Kept as it is; the mixer converts as it plays. Only a rate above the output's is brought
    // down here, where it can be filtered properly.
    auto kept = std::make_shared<const PcmClip>(
        clip.rate > kOutputRate ? convertRate(clip, kOutputRate) : std::move(clip));
    const std::int32_t handle = newBufferHandle();
    buffers_[handle] = Buffer{std::move(kept), (flags & kFlagOverlap) != 0};
    return handle;
}

const SoundLibrary::Buffer* SoundLibrary::bufferFor(std::int32_t buffer) const {
    if (buffer == 0) return nullptr;
    const auto it = buffers_.find(buffer);
    return it == buffers_.end() ? nullptr : &it->second;
}

void SoundLibrary::openOutput() {
    if (stream_ || held_ || openFailed_ || library_ == 0) return;
    stream_ = backend_->open(mixer_);
    openFailed_ = stream_ == nullptr;
}

void SoundLibrary::holdOutput() {
    held_ = true;
}

void SoundLibrary::releaseOutput() {
    held_ = false;
    if (mixer_.voiceCount() != 0) openOutput();
}

void SoundLibrary::dsPlay(std::int32_t buffer) {
    const Buffer* b = bufferFor(buffer);
    if (b == nullptr) return;
    mixer_.play(buffer, b->clip, false, !b->overlap);
    openOutput();
}

void SoundLibrary::dsPlayLooping(std::int32_t buffer) {
    const Buffer* b = bufferFor(buffer);
    if (b == nullptr || mixer_.looping(buffer)) return;
    mixer_.play(buffer, b->clip, true, true);
    openOutput();
}

void SoundLibrary::dsStop(std::int32_t buffer) {
    if (bufferFor(buffer) != nullptr) mixer_.stop(buffer);
}

void SoundLibrary::dsFree(std::int32_t buffer) {
    if (bufferFor(buffer) == nullptr) return;
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
