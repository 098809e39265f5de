#include "platform/sound/pulse_output.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <dlfcn.h>
#include <pulse/simple.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "interfaces/product.h"

namespace kiryuza::sound {
namespace {

// About 90 ms queued in the server: short enough for effects to feel immediate.
constexpr std::uint32_t kServerBufferFrames = 4096;
constexpr std::uint32_t kBytesPerFrame = kOutputChannels * sizeof(std::int16_t);

// The sound server's client library, loaded when the first stream opens, after the window's
// first frame: it brings a dozen libraries of its own (codecs among them) that would otherwise
// all be loaded and relocated before the window shows. Without it there is no output.
struct PulseLibrary {
    decltype(&pa_simple_new) open = nullptr;
    decltype(&pa_simple_write) write = nullptr;
    decltype(&pa_simple_free) close = nullptr;

    static const PulseLibrary& get() {
        // Never unloaded: the library's own threads may outlive any moment chosen for it.
        static const PulseLibrary library = [] {
            PulseLibrary l;
            void* handle = ::dlopen("libpulse-simple.so.0", RTLD_NOW | RTLD_LOCAL);
            if (handle == nullptr) return l;
            l.open = reinterpret_cast<decltype(l.open)>(::dlsym(handle, "pa_simple_new"));
            l.write = reinterpret_cast<decltype(l.write)>(::dlsym(handle, "pa_simple_write"));
            l.close = reinterpret_cast<decltype(l.close)>(::dlsym(handle, "pa_simple_free"));
            if (!l.open || !l.write || !l.close) l = {};
            return l;
        }();
        return library;
    }
};

class PulseSink : public PcmSink {
  public:
    PulseSink(const PulseLibrary& library, pa_simple* stream)
        : library_(library), stream_(stream) {}
    // What is still queued is dropped: the output thread closes a sink only after a stretch
    // of silence longer than the queue, or when the game ends.
    ~PulseSink() override { library_.close(stream_); }
    PulseSink(const PulseSink&) = delete;
    PulseSink& operator=(const PulseSink&) = delete;

    bool write(const std::int16_t* samples, std::size_t frames) override {
        int error = 0;
        return library_.write(stream_, samples, frames * kBytesPerFrame, &error) == 0;
    }

  private:
    const PulseLibrary& library_;
    pa_simple* stream_;
};

}  // namespace

std::unique_ptr<PcmSink> openPulseSink() {
    const PulseLibrary& library = PulseLibrary::get();
    if (library.open == nullptr) return nullptr;
    static const std::string name(製品名);
    const pa_sample_spec format{PA_SAMPLE_S16NE, kOutputRate, kOutputChannels};
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = kServerBufferFrames * kBytesPerFrame;
    buffer.prebuf = static_cast<std::uint32_t>(-1);
    // The server asks for more a chunk at a time, so the thread wakes once per chunk.
    buffer.minreq = OutputThread::kChunkFrames * kBytesPerFrame;
    buffer.fragsize = static_cast<std::uint32_t>(-1);
    int error = 0;
    pa_simple* stream = library.open(nullptr, name.c_str(), PA_STREAM_PLAYBACK, nullptr, "game",
                                     &format, nullptr, &buffer, &error);
    if (stream == nullptr) return nullptr;
    return std::make_unique<PulseSink>(library, stream);
}

bool pulseServerAnswers() {
    const auto answers = [](const std::string& path) {
        sockaddr_un address{};
        if (path.empty() || path.size() >= sizeof address.sun_path) return false;
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.data(), path.size());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        const bool connected =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return connected;
    };
    // PULSE_SERVER, when set, is the only place a client looks: a list of addresses, the local
    // ones "unix:PATH" or a bare absolute path, each perhaps after a "{machine}" prefix.
    if (const char* servers = std::getenv("PULSE_SERVER")) {
        std::string_view list(servers);
        while (!list.empty()) {
            const std::size_t start = list.find_first_not_of(" \t\n");
            if (start == std::string_view::npos) break;
            list.remove_prefix(start);
            const std::size_t length = std::min(list.find_first_of(" \t\n"), list.size());
            std::string entry(list.substr(0, length));
            list.remove_prefix(length);
            if (entry.starts_with('{')) entry.erase(0, entry.find('}') + 1);
            if (entry.starts_with("unix:")) entry.erase(0, 5);
            if (entry.starts_with('/') && answers(entry)) return true;
        }
        return false;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr && *runtime != '\0' &&
           answers(std::string(runtime) + "/pulse/native");
}

bool PulseAudioBackend::hasDevice() {
    if (pulseServerAnswers()) return true;
    return openPulseSink() != nullptr;
}

std::unique_ptr<AudioStream> PulseAudioBackend::open(Mixer& mixer) {
    return std::make_unique<OutputThread>(mixer, &openPulseSink);
}

}  // namespace kiryuza::sound
