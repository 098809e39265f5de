// The game in progress kept in one file (in the user's state folder): each write replaces it
// atomically on a thread of its own, so the player never waits for the disk; the latest write
// wins, and all are finished before the object goes.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "interfaces/platform.h"

namespace kiryuza {

class QtAutosave : public 自動保存先 {
  public:
    // The largest kept game read back: the whole history is about 200 KB.
    static constexpr std::size_t kMaxSize = 4 * 1024 * 1024;

    // `written` is called on the writing thread after each write, failed or not.
    explicit QtAutosave(std::string path, std::function<void()> written = {});
    ~QtAutosave() override;
    QtAutosave(const QtAutosave&) = delete;
    QtAutosave& operator=(const QtAutosave&) = delete;

    void 保存(std::vector<std::uint8_t> 内容) override;
    std::optional<std::vector<std::uint8_t>> 読込() override;
    void 消去() override;
    std::optional<std::string> 脇へ移す() override;
    std::optional<ファイル結果> 書込結果() override;
    std::string フォルダ() const override;
    // Waits until every write asked for so far is on the disk.
    void flush();
    // Leaves the kept game as it is from now on: a write asked for before is finished (wait
    // with flush()), but later writes, removals and set-asides are dropped and a read finds no
    // game. For the end of a session, when what a handler still does must not change the
    // game kept, and for a copy that must not touch the game another copy may keep.
    void 封じる();

  private:
    void run();
    bool isSealed();

    std::string path_;
    std::function<void()> written_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<std::vector<std::uint8_t>> pending_;
    std::optional<ファイル結果> result_;
    bool writing_ = false;
    bool stop_ = false;
    bool sealed_ = false;
    std::thread thread_;
};

}  // namespace kiryuza
