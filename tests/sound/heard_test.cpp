// The four sounds played through the real audio output of the game's sound library, into a
// PulseAudio server that the test starts for itself with a null sink, and recorded from that
// sink's monitor: each effect must be heard where it was played, as it was written, with
// silence after it, and the music must run on unbroken across its loop point.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/sound/desktop_sound.h"
#include "platform/sound/wav.h"

namespace kiryuza::sound {
namespace {

using namespace std::chrono_literals;

const std::filesystem::path kFolder = KIRYUZA_SOUND_DIR;
// A recorded frame counts as silent at or below this size (a 16-bit step or two).
constexpr int kSilent = 2;
// Frames of one analysis window (10 ms).
constexpr std::size_t kWindow = kOutputRate / 100;

std::vector<std::uint8_t> readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A PulseAudio server of the test's own with a null sink named "heard", and a recorder of its
// monitor writing raw 16-bit stereo frames at the output rate.
class PrivateServer {
  public:
    bool start() {
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty())
            return false;
        const QString socket = folder_.filePath(QStringLiteral("native"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), folder_.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.path());
        server_.setProcessEnvironment(env);
        server_.setStandardOutputFile(folder_.filePath(QStringLiteral("server.log")));
        server_.setStandardErrorFile(folder_.filePath(QStringLiteral("server.log")));
        server_.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                       QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                       QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 "
                                      "socket=") +
                           socket,
                       QStringLiteral("--load=module-null-sink sink_name=heard")});
        if (!server_.waitForStarted(5000)) return false;
        address_ = QStringLiteral("unix:") + socket;
        for (int i = 0; i < 100 && !QFile::exists(socket); ++i) std::this_thread::sleep_for(50ms);
        if (!QFile::exists(socket)) return false;
        // Every client of this process talks to this server.
        qputenv("PULSE_SERVER", address_.toUtf8());
        recorder_.start(QStringLiteral("parec"),
                        {QStringLiteral("--device=heard.monitor"), QStringLiteral("--raw"),
                         QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                         QStringLiteral("--channels=2"), QStringLiteral("--latency-msec=20"),
                         folder_.filePath(QStringLiteral("heard.raw"))});
        if (!recorder_.waitForStarted(5000)) return false;
        // The recording has begun once the file grows.
        for (int i = 0; i < 100; ++i) {
            if (QFile(folder_.filePath(QStringLiteral("heard.raw"))).size() > 0) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    // Ends the recording and returns its left channel.
    std::vector<std::int16_t> heard() {
        recorder_.terminate();
        recorder_.waitForFinished(5000);
        const auto bytes = readFile(folder_.filePath(QStringLiteral("heard.raw")).toStdString());
        std::vector<std::int16_t> left(bytes.size() / 4);
        for (std::size_t i = 0; i < left.size(); ++i)
            left[i] = static_cast<std::int16_t>(bytes[4 * i] | (bytes[4 * i + 1] << 8));
        return left;
    }

    ~PrivateServer() {
        for (QProcess* p : {&recorder_, &server_}) {
            if (p->state() == QProcess::NotRunning) continue;
            p->terminate();
            if (!p->waitForFinished(5000)) p->kill();
        }
        qunsetenv("PULSE_SERVER");
    }

  private:
    QTemporaryDir folder_;
    QProcess server_, recorder_;
    QString address_;
};

// A stretch of the recording that is not silent: its first frame and its length.
struct Stretch {
    std::size_t from, length;
};

// The stretches of sound in `heard`, window by window: runs of windows with a frame louder
// than kSilent, joined across gaps shorter than `bridge` windows.
std::vector<Stretch> stretches(const std::vector<std::int16_t>& heard, std::size_t bridge = 8) {
    std::vector<Stretch> out;
    std::size_t quiet = bridge;
    for (std::size_t w = 0; (w + 1) * kWindow <= heard.size(); ++w) {
        int loudest = 0;
        for (std::size_t i = w * kWindow; i < (w + 1) * kWindow; ++i)
            loudest = std::max(loudest, std::abs(static_cast<int>(heard[i])));
        if (loudest <= kSilent) {
            ++quiet;
            continue;
        }
        if (quiet >= bridge || out.empty())
            out.push_back({w * kWindow, kWindow});
        else
            out.back().length = (w + 1) * kWindow - out.back().from;
        quiet = 0;
    }
    return out;
}

// What the mixer sends for `clip` started at frame `from`, `frames` long (left channel).
std::vector<std::int16_t> expected(const Mixer::Clip& clip, bool loop, std::size_t from,
                                   std::size_t frames) {
    Mixer m;
    m.play(1, clip, loop, true, from);
    std::vector<std::int16_t> stereo(2 * frames), left(frames);
    m.render(stereo.data(), frames);
    for (std::size_t i = 0; i < frames; ++i) left[i] = stereo[2 * i];
    return left;
}

// The first frame from `from` on that is louder than silence.
std::size_t firstSound(const std::vector<std::int16_t>& samples, std::size_t from = 0) {
    while (from < samples.size() && std::abs(static_cast<int>(samples[from])) <= kSilent) ++from;
    return from;
}

// How well `want` matches `heard` in the stretch that begins at frame `at`: the correlation of
// the two, lined up by their first sounding frames (give or take a millisecond), and the ratio
// of their loudness in dB.
struct Match {
    double correlation = 0;
    double loudnessDb = -100;
    int largestDifference = 65536;  // between the two, frame by frame
};
Match match(const std::vector<std::int16_t>& heard, std::size_t at,
            const std::vector<std::int16_t>& want) {
    Match best;
    const long lined =
        static_cast<long>(firstSound(heard, at)) - static_cast<long>(firstSound(want));
    const long slack = kOutputRate / 1000;
    for (long shift = std::max(0L, lined - slack); shift <= lined + slack; ++shift) {
        const auto start = static_cast<std::size_t>(shift);
        if (start >= heard.size()) break;
        const std::size_t n = std::min(want.size(), heard.size() - start);
        double hw = 0, hh = 0, ww = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double h = heard[start + i], w = want[i];
            hw += h * w;
            hh += h * h;
            ww += w * w;
        }
        if (hh == 0 || ww == 0) continue;
        const double c = hw / std::sqrt(hh * ww);
        if (c <= best.correlation) continue;
        best = {c, 10 * std::log10(hh / ww), 0};
        for (std::size_t i = 0; i < n; ++i)
            best.largestDifference =
                std::max(best.largestDifference, std::abs(heard[start + i] - want[i]));
    }
    return best;
}

Mixer::Clip load(const char* name) {
    const auto bytes = readFile(kFolder / name);
    WavResult r = parseWav(bytes.data(), bytes.size());
    EXPECT_EQ(r.error, WavError::none) << name;
    return std::make_shared<const PcmClip>(std::move(r.clip));
}

TEST(HeardThroughPulseAudio, EachSoundAsWrittenThenSilenceAndTheMusicUnbrokenAtItsLoop) {
    PrivateServer server;
    if (!server.start()) GTEST_SKIP() << "no PulseAudio server could be started here";
    DesktopSoundLibrary lib;
    const std::int32_t library = lib.dsInitialize();
    ASSERT_NE(library, 0) << "the library finds no audio output on the test's own server";
    const char* effects[] = {"駒打音.wav", "禁止.wav", "その他.wav"};
    std::vector<Mixer::Clip> clips;
    std::vector<std::int32_t> buffers;
    for (const char* effect : effects) {
        const auto bytes = readFile(kFolder / effect);
        buffers.push_back(lib.dsCreateDSB(library, bytes.data(), bytes.size(), 3));
        ASSERT_NE(buffers.back(), 0) << effect;
        clips.push_back(load(effect));
    }
    const Mixer::Clip music = load("BGM.wav");

    // Each effect alone, with time after it to fall silent and for the output to stop.
    for (std::size_t k = 0; k < buffers.size(); ++k) {
        lib.dsPlay(buffers[k]);
        const auto length = std::chrono::milliseconds(clips[k]->frames() * 1000 / clips[k]->rate);
        std::this_thread::sleep_for(length + 800ms);
    }
    // The music from a second and a half before its loop point, for three seconds.
    const std::size_t lead = music->rate * 3 / 2;
    const std::size_t loopFrom = music->frames() - lead;
    lib.mixer().play(99, music, true, true, loopFrom);
    std::this_thread::sleep_for(3000ms);
    lib.mixer().stop(99);
    std::this_thread::sleep_for(300ms);
    lib.dsTerminate(library);
    const std::vector<std::int16_t> heard = server.heard();

    const std::vector<Stretch> found = stretches(heard);
    std::string seen;
    for (const Stretch& s : found) {
        seen += ' ';
        seen += std::to_string(s.from * 1000 / kOutputRate) + "+" +
                std::to_string(s.length * 1000 / kOutputRate) + "ms";
    }
    ASSERT_EQ(found.size(), 4u) << "expected three effects and the music; heard" << seen;
    for (std::size_t k = 0; k < 3; ++k) {
        const auto want =
            expected(clips[k], false, 0, clips[k]->frames() * kOutputRate / clips[k]->rate);
        const Match m = match(heard, found[k].from, want);
        EXPECT_GT(m.correlation, 0.99) << effects[k];
        // The output path carries the samples unchanged: what was heard is what was mixed.
        EXPECT_LE(m.largestDifference, 1) << effects[k];
        EXPECT_NEAR(m.loudnessDb, 0.0, 0.5) << effects[k];
        // Silence after it: the stretch is no longer than the sound, and what follows until
        // the next one is silent by construction of the stretches.
        EXPECT_LE(found[k].length, want.size() + 2 * kWindow) << effects[k];
        EXPECT_GE(found[k + 1].from - (found[k].from + found[k].length), kOutputRate / 4)
            << effects[k] << " is not followed by silence";
    }
    // The music: one unbroken stretch across the loop point, as the mixer renders it.
    const Stretch& tune = found[3];
    EXPECT_GE(tune.length, 2 * kOutputRate + kOutputRate / 2);
    const auto want = expected(music, true, loopFrom, 2 * kOutputRate + kOutputRate / 2);
    const Match m = match(heard, tune.from, want);
    EXPECT_GT(m.correlation, 0.99);
    EXPECT_LE(m.largestDifference, 1) << "the music was not heard as it was mixed";
    EXPECT_NEAR(m.loudnessDb, 0.0, 0.5);
    // No window anywhere in it dropped out.
    const auto inside = stretches(
        std::vector<std::int16_t>(heard.begin() + static_cast<long>(tune.from),
                                  heard.begin() + static_cast<long>(tune.from + tune.length)),
        1);
    EXPECT_EQ(inside.size(), 1u) << "the music broke off";
}

}  // namespace
}  // namespace kiryuza::sound
