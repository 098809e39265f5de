#include "platform/files/qt_autosave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/files/qt_file_system.h"

namespace kiryuza {

QtAutosave::QtAutosave(std::string path) : path_(std::move(path)), thread_([this] { run(); }) {}

QtAutosave::~QtAutosave() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void QtAutosave::保存(std::vector<std::uint8_t> 内容) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = std::move(内容);
    }
    wake_.notify_all();
}

void QtAutosave::flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !pending_ && !writing_; });
}

std::optional<std::vector<std::uint8_t>> QtAutosave::読込() {
    flush();
    std::string error;
    QtFileSystem files;
    if (!files.存在(path_)) return std::nullopt;
    return files.読む(path_, error, kMaxSize);
}

void QtAutosave::消去() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.reset();
    }
    flush();
    QFile::remove(QString::fromStdString(path_));
}

// Writes whatever is pending, newest first and only, until told to stop; a stop still writes
// what is pending.
void QtAutosave::run() {
    QtFileSystem files;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || stop_; });
        if (!pending_) break;
        std::vector<std::uint8_t> bytes = std::move(*pending_);
        pending_.reset();
        writing_ = true;
        lock.unlock();
        // The state folder appears with the first game kept; a failure only costs the copy.
        const QFileInfo info(QString::fromStdString(path_));
        QDir().mkpath(info.absolutePath());
        (void)files.書く(path_, bytes);
        lock.lock();
        writing_ = false;
        idle_.notify_all();
    }
    idle_.notify_all();
}

}  // namespace kiryuza
