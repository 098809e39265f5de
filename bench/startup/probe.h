// Start-up probe for the start-up benchmark: watches the application's first paint, then lets
// the program idle and reports what it cost, on one line of standard output:
//   first_paint_ms=… first_paint_cpu_ms=… peak_kb=… rss_kb=… anon_kb=…
//   other_thread_wakeups_per_s=…
// first_paint_ms counts from KIRYUZA_BENCH_T0 (seconds since the epoch, with microseconds,
// taken by the script just before it starts the program) to the end of the first painted frame;
// first_paint_cpu_ms is the processor time used by then, steadier on a busy machine.
// The peak and resident memory are read after the idle time, so work deferred until after
// the first frame counts too. The wakeups are the context switches of every thread but the
// main one during the last two seconds of idling. The program then ends at once, after
// copying its memory map with sizes (/proc/self/smaps) to KIRYUZA_BENCH_SMAPS when that is set.
// With KIRYUZA_BENCH_NO_IDLE set it reports at the first frame, for profiling the start.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

#include <sys/resource.h>
#include <unistd.h>

namespace kiryuza::bench {

// Context switches of each thread of this process but the main one, by thread id.
inline std::map<QString, long long> otherThreadSwitches() {
    std::map<QString, long long> result;
    const QString self = QString::number(::getpid());
    for (const QString& tid :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (tid == self) continue;
        QFile status(QStringLiteral("/proc/self/task/%1/status").arg(tid));
        if (!status.open(QIODevice::ReadOnly)) continue;
        long long switches = 0;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.contains("ctxt_switches:"))
                switches += line.split(':').last().trimmed().toLongLong();
        result[tid] = switches;
    }
    return result;
}

// A value in kB from /proc/self/status ("VmHWM", "VmRSS", "RssAnon").
inline long long statusKb(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(QByteArray(key) + ':'))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Processor time this process has used so far (all threads, user and system), in ms.
inline double cpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

inline double secondsSinceEpoch() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

class StartupProbe : public QObject {
  public:
    // Watches every object of the application for its first paint.
    StartupProbe() { QCoreApplication::instance()->installEventFilter(this); }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // The rest of the frame is painted and flushed before a zero timer fires.
            QTimer::singleShot(0, [this] { framePainted(); });
        }
        return false;
    }

  private:
    static constexpr int kSettleMs = 1000;
    static constexpr int kIdleMs = 2000;

    void framePainted() {
        const double t0 = std::atof(qgetenv("KIRYUZA_BENCH_T0").constData());
        firstPaintMs_ = t0 > 0 ? (secondsSinceEpoch() - t0) * 1000 : -1;
        firstPaintCpuMs_ = cpuMs();
        // For profiling the start alone: no idling.
        if (qEnvironmentVariableIsSet("KIRYUZA_BENCH_NO_IDLE")) return report();
        QTimer::singleShot(kSettleMs, [this] {
            before_ = otherThreadSwitches();
            QTimer::singleShot(kIdleMs, [this] { report(); });
        });
    }

    void report() {
        long long wakeups = 0;
        for (const auto& [tid, count] : otherThreadSwitches()) {
            const auto it = before_.find(tid);
            wakeups += count - (it == before_.end() ? 0 : it->second);
        }
        std::printf(
            "first_paint_ms=%.1f first_paint_cpu_ms=%.1f peak_kb=%lld rss_kb=%lld "
            "anon_kb=%lld other_thread_wakeups_per_s=%.1f\n",
            firstPaintMs_, firstPaintCpuMs_, statusKb("VmHWM"), statusKb("VmRSS"),
            statusKb("RssAnon"), static_cast<double>(wakeups) * 1000.0 / kIdleMs);
        std::fflush(stdout);
        if (const QString copy = qEnvironmentVariable("KIRYUZA_BENCH_SMAPS"); !copy.isEmpty()) {
            QFile in(QStringLiteral("/proc/self/smaps")), out(copy);
            if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly))
                out.write(in.readAll());
        }
        ::_exit(0);
    }

    bool painted_ = false;
    double firstPaintMs_ = -1;
    double firstPaintCpuMs_ = -1;
    std::map<QString, long long> before_;
};

}  // namespace kiryuza::bench
