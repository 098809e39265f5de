#include "platform/files/qt_autosave.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "platform/files/qt_file_system.h"

#include <utility>

namespace kiryuza {

QtAutosave::QtAutosave(std::string path, std::function<void()> written)
    : path_(std::move(path)), written_(std::move(written)), thread_([this] { run(); }) {}

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
        if (sealed_) return;
        pending_ = std::move(内容);
    }
    wake_.notify_all();
}

void QtAutosave::封じる() {
    std::lock_guard<std::mutex> lock(mutex_);
    sealed_ = true;
}

void QtAutosave::flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !pending_ && !writing_; });
}

std::optional<std::vector<std::uint8_t>> QtAutosave::読込() {
    flush();
    if (isSealed()) return std::nullopt;
    // Only a regular file (or a link to one) is a kept game; anything else is left alone.
    if (!QFileInfo(QString::fromStdString(path_)).isFile()) return std::nullopt;
    std::string error;
    auto bytes = QtFileSystem().読む(path_, error, kMaxSize);
    return bytes ? std::move(*bytes) : std::vector<std::uint8_t>{};
}

void QtAutosave::消去() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (sealed_) return;
        pending_.reset();
    }
    flush();
    if (!isSealed()) (void)QtFileSystem().消す(path_);
}

std::optional<std::string> QtAutosave::脇へ移す() {
    flush();
    if (isSealed()) return std::nullopt;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return QtFileSystem().脇へ移す(path_, "damaged-" + stamp.toStdString());
}

std::optional<ファイル結果> QtAutosave::書込結果() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(result_, std::nullopt);
}

std::string QtAutosave::フォルダ() const {
    return QFileInfo(QString::fromStdString(path_)).absolutePath().toStdString();
}

bool QtAutosave::isSealed() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sealed_;
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
        // The state folder appears with the first game kept.
        (void)files.フォルダを作る(フォルダ());
        ファイル結果 result = files.書く(path_, bytes);
        lock.lock();
        result_ = std::move(result);
        writing_ = false;
        idle_.notify_all();
        if (written_) {
            lock.unlock();
            written_();
            lock.lock();
        }
    }
    idle_.notify_all();
}

}  // namespace kiryuza
