// The real library's output to the desktop's sound server. Without a server (as in CI) it must
// start silent and stay harmless; nothing here waits on playback.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <memory>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/sound/desktop_sound.h"
#include "sound/wav_builder.h"

namespace kiryuza::sound {
namespace {

using namespace kiryuza::testing;

// The environment a sound client reads, put back as it was when the test ends.
class ServerEnvironment {
  public:
    ServerEnvironment()
        : server_(qgetenv("PULSE_SERVER")),
          runtime_(qgetenv("XDG_RUNTIME_DIR")),
          hadServer_(qEnvironmentVariableIsSet("PULSE_SERVER")) {}
    ~ServerEnvironment() {
        qputenv("XDG_RUNTIME_DIR", runtime_);
        if (hadServer_)
            qputenv("PULSE_SERVER", server_);
        else
            qunsetenv("PULSE_SERVER");
    }
    ServerEnvironment(const ServerEnvironment&) = delete;
    ServerEnvironment& operator=(const ServerEnvironment&) = delete;

  private:
    QByteArray server_, runtime_;
    bool hadServer_;
};

TEST(SoundOutput, StaysSilentAndHarmlessWithoutASoundServer) {
    const ServerEnvironment restore;
    QTemporaryDir nowhere;
    // A server the client library cannot reach: a socket path that does not exist.
    qputenv("PULSE_SERVER", ("unix:" + nowhere.filePath(QStringLiteral("none"))).toUtf8());
    DesktopSoundLibrary lib;
    const std::int32_t library = lib.dsInitialize();
    EXPECT_EQ(library, 0);
    const Bytes wav = simpleWav(1, 22050, 16, pcm16({0, 100, 200, 100}));
    const std::int32_t buffer = lib.dsCreateDSB(library, wav.data(), wav.size(), 3);
    EXPECT_EQ(buffer, 0);
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
TEST(SoundOutput, FindsASoundServerWhereItsClientsLook) {
    const ServerEnvironment restore;
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("pulse")));
    const QString socket = folder.filePath(QStringLiteral("pulse/native"));
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
}

TEST(SoundOutput, OutputThreadStartsAndEndsWithoutADevice) {
    // Without a server the stream fails to open on its thread; ending must still be prompt,
    // also with voices sounding and starting.
    const ServerEnvironment restore;
    QTemporaryDir nowhere;
    qputenv("PULSE_SERVER", ("unix:" + nowhere.filePath(QStringLiteral("none"))).toUtf8());
    Mixer mixer;
    auto clip = std::make_shared<const PcmClip>(PcmClip{kOutputRate, 2, {1, 2, 3, 4}});
    PulseAudioBackend backend;
    for (int i = 0; i < 3; ++i) {
        if (i == 1) mixer.play(1, clip, true, true);
        auto stream = backend.open(mixer);
        ASSERT_NE(stream, nullptr);
        mixer.play(2, clip, false, false);
    }
}

}  // namespace
}  // namespace kiryuza::sound
