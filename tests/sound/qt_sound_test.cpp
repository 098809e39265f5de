// The real library over Qt Multimedia. On a machine without audio output (such as CI) it must
// start silent and stay harmless; nothing here waits on playback.
#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <cstring>
#include <memory>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/sound/qt_audio.h"
#include "sound/wav_builder.h"

namespace kiryuza::sound {
namespace {

using namespace kiryuza::testing;

struct QtSound : ::testing::Test {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_sound_test";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) app = new QCoreApplication(argc, argv);
    }
    static inline QCoreApplication* app = nullptr;
};

TEST_F(QtSound, StartsOnlyWithAnAudioOutputAndStaysHarmless) {
    const bool device = !QMediaDevices::audioOutputs().isEmpty();
    QtSoundLibrary lib;
    const std::int32_t library = lib.dsInitialize();
    EXPECT_EQ(library != 0, device);
    const Bytes wav = simpleWav(1, 22050, 16, pcm16({0, 100, 200, 100}));
    const std::int32_t buffer = lib.dsCreateDSB(library, wav.data(), wav.size(), 3);
    EXPECT_EQ(buffer != 0, device);
    for (std::int32_t h : {buffer, 0, 12345}) {
        lib.dsPlay(h);
        lib.dsPlayLooping(h);
        lib.dsStop(h);
        lib.dsFree(h);
    }
    lib.dsTerminate(library);
    lib.dsTerminate(library);
    EXPECT_EQ(lib.dsCreateDSB(library, wav.data(), wav.size(), 3), 0);
}

// A socket listening at `path`, as a sound server's, for as long as it lives.
class Listener {
  public:
    explicit Listener(const QString& path) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = path.toUtf8();
        std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        ok_ = fd_ >= 0 &&
              ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
              ::listen(fd_, 4) == 0;
    }
    ~Listener() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool ok() const { return ok_; }

  private:
    int fd_ = -1;
    bool ok_ = false;
};

// The quick look for a sound server finds one where its clients would, and nowhere else.
TEST_F(QtSound, FindsASoundServerWhereItsClientsLook) {
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("pulse")));
    const QString socket = folder.filePath(QStringLiteral("pulse/native"));
    const QByteArray oldServer = qgetenv("PULSE_SERVER"), oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    const bool hadServer = qEnvironmentVariableIsSet("PULSE_SERVER");
    qunsetenv("PULSE_SERVER");
    qputenv("XDG_RUNTIME_DIR", folder.path().toUtf8());
    EXPECT_FALSE(pulseServerAnswers()) << "nothing listens yet";
    {
        const Listener server(socket);
        ASSERT_TRUE(server.ok());
        EXPECT_TRUE(pulseServerAnswers()) << "the runtime folder's socket";
        const struct {
            const char* value;
            bool found;
        } addresses[] = {
            {"unix:%1", true},
            {"%1", true},
            {"{0123abcd}unix:%1", true},
            {"tcp:localhost:4713 unix:%1", true},
            {"tcp:localhost:4713", false},
            {"unix:%1.not", false},
            {"", false},
        };
        for (const auto& a : addresses) {
            qputenv("PULSE_SERVER", QString::fromLatin1(a.value).arg(socket).toUtf8());
            EXPECT_EQ(pulseServerAnswers(), a.found) << a.value;
        }
    }
    qunsetenv("PULSE_SERVER");
    EXPECT_FALSE(pulseServerAnswers()) << "the server has gone";
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    if (hadServer) qputenv("PULSE_SERVER", oldServer);
}

TEST_F(QtSound, OutputThreadStartsAndEndsWithoutADevice) {
    // Without a device the sink fails to open on its thread; ending must still be prompt.
    Mixer mixer;
    QtAudioBackend backend;
    for (int i = 0; i < 3; ++i) {
        auto stream = backend.open(mixer);
        ASSERT_NE(stream, nullptr);
    }
}

// After each start the device hands out a little silence, then whole frames of the mix; once
// the mix has been silent for long enough it says so, once until it is rearmed.
TEST_F(QtSound, DeviceLeadsInThenHandsOutWholeFramesAndTellsWhenIdle) {
    Mixer mixer;
    auto clip = std::make_shared<const PcmClip>(PcmClip{kOutputRate, 2, {1, 2, 3, 4, 5, 6}});
    mixer.play(1, clip, true, true);
    MixerDevice device(mixer);
    int idle = 0;
    device.setIdleHandler([&idle] { ++idle; });
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    EXPECT_GT(device.bytesAvailable(), 0);
    const auto readFrames = [&device](qint64 frames) {
        std::vector<char> bytes(static_cast<std::size_t>(frames) * 4);
        EXPECT_EQ(device.read(bytes.data(), frames * 4), frames * 4);
        return bytes;
    };
    for (char b : readFrames(MixerDevice::kLeadInFrames)) ASSERT_EQ(b, 0);
    char bytes[15] = {};
    EXPECT_EQ(device.read(bytes, 15), 12);  // three whole frames
    std::int16_t samples[6];
    std::memcpy(samples, bytes, sizeof samples);
    EXPECT_EQ(std::vector<std::int16_t>(samples, samples + 6), clip->samples);
    EXPECT_EQ(device.read(bytes, 3), 0);

    mixer.stop(1);
    readFrames(Mixer::kFadeFrames);  // the voice fades and ends: silence from here
    readFrames(MixerDevice::kIdleFrames - Mixer::kFadeFrames - 1);
    EXPECT_EQ(idle, 0);
    readFrames(1);
    EXPECT_EQ(idle, 1);
    readFrames(MixerDevice::kIdleFrames);
    EXPECT_EQ(idle, 1);
    device.rearm();
    readFrames(MixerDevice::kIdleFrames);
    EXPECT_EQ(idle, 2);
}

}  // namespace
}  // namespace kiryuza::sound
