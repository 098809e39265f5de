#include "platform/sound/qt_audio.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <memory>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kiryuza::sound {
namespace {

constexpr int kBytesPerFrame = 4;
// About 90 ms queued in the device: short enough for effects to feel immediate.
constexpr int kSinkBufferBytes = 4096 * kBytesPerFrame;

// Owns the sink for its whole life: created, run and destroyed on this thread, which sleeps in
// its event loop while the sink is stopped.
class OutputThread : public QThread {
  public:
    explicit OutputThread(Mixer& mixer) : mixer_(mixer) {}

  protected:
    void run() override {
        QAudioFormat format;
        format.setSampleRate(static_cast<int>(kOutputRate));
        format.setChannelCount(2);
        format.setSampleFormat(QAudioFormat::Int16);
        MixerDevice device(mixer_);
        device.open(QIODevice::ReadOnly);
        // A new sink for every start: a stopped one restarted keeps a far larger buffer.
        std::unique_ptr<QAudioSink> sink;
        // Queued calls from the game's thread and from the sink's reads run here, in order.
        QObject here;
        const auto start = [&] {
            if (sink) return;
            device.rearm();
            sink = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format);
            sink->setBufferSize(kSinkBufferBytes);
            sink->start(&device);
        };
        // Stopped before it goes: the sound server's last callbacks for its stream are over
        // once stop() returns, and none may reach a sink that is gone.
        const auto end = [&] {
            if (!sink) return;
            sink->stop();
            sink.reset();
        };
        // A voice that starts after the check below finds the sink gone and makes a new one.
        const auto stopIfSilent = [&] {
            if (mixer_.voiceCount() == 0) end();
        };
        device.setIdleHandler(
            [&] { QMetaObject::invokeMethod(&here, stopIfSilent, Qt::QueuedConnection); });
        mixer_.setStartListener(
            [&] { QMetaObject::invokeMethod(&here, start, Qt::QueuedConnection); });
        if (mixer_.voiceCount() != 0) start();  // voices that started before the listener
        exec();
        mixer_.setStartListener({});
        end();
    }

  private:
    Mixer& mixer_;
};

class QtAudioStream : public AudioStream {
  public:
    explicit QtAudioStream(Mixer& mixer) : thread_(mixer) {
        thread_.setObjectName(QStringLiteral("kiryuza-audio"));
        thread_.start(QThread::HighPriority);
    }
    ~QtAudioStream() override {
        thread_.quit();
        thread_.wait();
    }

  private:
    OutputThread thread_;
};

}  // namespace

MixerDevice::MixerDevice(Mixer& mixer, QObject* parent) : QIODevice(parent), mixer_(mixer) {}

qint64 MixerDevice::bytesAvailable() const {
    return QIODevice::bytesAvailable() + kSinkBufferBytes;
}

void MixerDevice::rearm() {
    silentFrames_ = 0;
    idleTold_ = false;
    leadIn_ = kLeadInFrames;
}

// Hands out whole frames only; silence when nothing plays, so the sink never runs dry.
qint64 MixerDevice::readData(char* data, qint64 maxSize) {
    const qint64 frames = maxSize / kBytesPerFrame;
    if (frames <= 0) return 0;
    // The sink's buffer need not be aligned for 16-bit samples, so render aside and copy.
    frames_.assign(static_cast<std::size_t>(frames) * 2, 0);
    const qint64 quiet = std::min(frames, leadIn_);
    leadIn_ -= quiet;
    mixer_.render(frames_.data() + 2 * quiet, static_cast<std::size_t>(frames - quiet));
    std::memcpy(data, frames_.data(), static_cast<std::size_t>(frames) * kBytesPerFrame);
    silentFrames_ = mixer_.voiceCount() == 0 ? silentFrames_ + frames : 0;
    if (silentFrames_ >= kIdleFrames && !idleTold_) {
        idleTold_ = true;
        if (idleHandler_) idleHandler_();
    }
    return frames * kBytesPerFrame;
}

qint64 MixerDevice::writeData(const char*, qint64) {
    return -1;
}

bool pulseServerAnswers() {
    const auto answers = [](const QByteArray& path) {
        if (path.isEmpty()) return false;
        sockaddr_un address{};
        if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        const bool connected =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return connected;
    };
    // PULSE_SERVER, when set, is the only place a client looks: a list of addresses, the local
    // ones "unix:PATH" or a bare absolute path, each perhaps after a "{machine}" prefix.
    if (qEnvironmentVariableIsSet("PULSE_SERVER")) {
        for (QByteArray entry : qgetenv("PULSE_SERVER").simplified().split(' ')) {
            if (entry.startsWith('{')) entry = entry.mid(entry.indexOf('}') + 1);
            if (entry.startsWith("unix:")) entry = entry.mid(5);
            if (entry.startsWith('/') && answers(entry)) return true;
        }
        return false;
    }
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && answers(runtime + "/pulse/native");
}

bool QtAudioBackend::hasDevice() {
    if (QCoreApplication::instance() == nullptr) return false;
    return pulseServerAnswers() || !QMediaDevices::audioOutputs().isEmpty();
}

std::unique_ptr<AudioStream> QtAudioBackend::open(Mixer& mixer) {
    // Qt's audio devices are made here, on the game's thread, which outlives every output
    // thread; the first question starts Qt's sound-server connection.
    if (QCoreApplication::instance() != nullptr) QMediaDevices::defaultAudioOutput();
    return std::make_unique<QtAudioStream>(mixer);
}

QtSoundLibrary::QtSoundLibrary() : SoundLibrary(std::make_unique<QtAudioBackend>()) {}

}  // namespace kiryuza::sound
