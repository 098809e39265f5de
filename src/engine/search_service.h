// The searching player as a service for every caller of the game: the computer's turn, the
// hint and the analysis of positions. A caller hands in a position and a budget and gets the
// answer back later; the search runs on threads of the service, never on the caller's.
// Plain C++: the window gets its answers through a notice it turns into an event of its own.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/deep_search.h"

namespace kiryuza {

// Who asks, in order of precedence: each caller has one request at a time, and a newer one
// replaces it.
// 検討 is the live analysis of the position on the board, 解析 the review's queue of positions.
enum class 依頼者 { 対局, ヒント, 検討, 解析 };
inline constexpr int 依頼者数 = 4;

struct 読み依頼 {
    局面 局;
    bool COM側 = true;      // the side to move in 局
    深読み設定 設定;        // its 既出鍵 is set from the list below when the search runs
    bool 読み筋も = false;  // hand back each iteration's lines as they come, not only the answer
    std::vector<std::uint64_t> 既出鍵;  // the game's earlier positions (局面の鍵)
};

// An answer, or a line of a search still going on.
struct 読み答え {
    依頼者 誰 = 依頼者::対局;
    std::uint64_t 番号 = 0;  // as 依頼する returned it
    bool 終わり = true;      // the search has ended: 結果 holds its answer; else 筋 a line
    深読み結果 結果;
    深読み読み筋 筋;
};

// The searching player as the game sees it.
class 読み依頼先 {
  public:
    virtual ~読み依頼先() = default;
    // Hands in a request; returns its number. An earlier request of the same caller is dropped,
    // and no answer of it comes after this.
    virtual std::uint64_t 依頼する(依頼者 誰, const 読み依頼& 依頼) = 0;
    // Drops the caller's request; no answer of it comes after this.
    virtual void 取り消す(依頼者 誰) = 0;
    // The answers that came since the last call, oldest first.
    virtual std::vector<読み答え> 答えを受け取る() = 0;
    // Ends every search at once and takes no more requests (the program is closing).
    virtual void 全て止める() = 0;
    // How many threads search each position together.
    virtual int スレッド数() const { return 1; }
};

// The service itself: one searching player (on `スレッド数` threads) and a thread that runs the
// requests one at a time, the computer's turn first, then hints, then analysis; a request of a
// caller that comes first stops a running one of a later caller, which runs again afterwards.
// Nothing is made until the first request: an idle game holds no tables and wakes no thread.
// `知らせ` is called on the service's thread whenever answers are waiting.
class 読み手サービス : public 読み依頼先 {
  public:
    読み手サービス(int スレッド数, std::size_t 表MB, std::function<void()> 知らせ);
    ~読み手サービス() override;
    読み手サービス(const 読み手サービス&) = delete;
    読み手サービス& operator=(const 読み手サービス&) = delete;

    std::uint64_t 依頼する(依頼者 誰, const 読み依頼& 依頼) override;
    void 取り消す(依頼者 誰) override;
    std::vector<読み答え> 答えを受け取る() override;
    void 全て止める() override;
    int スレッド数() const override { return スレッド数_; }

  private:
    struct 待ち {
        std::optional<読み依頼> 依頼;
        std::uint64_t 番号 = 0;
    };
    class 中継;
    void 走る();
    void 答えを置く(読み答え 答え);
    void 捨てる(依頼者 誰);
    void 止める();

    const int スレッド数_;
    const std::size_t 表MB_;
    const std::function<void()> 知らせ_;
    std::unique_ptr<深読みエンジン> エンジン_;
    std::mutex 錠_;
    std::condition_variable 起こす_;
    待ち 待ち_[依頼者数];
    std::uint64_t 最新番号_[依頼者数]{};  // a caller's latest request: only its answers count
    std::uint64_t 次番号_ = 1;
    std::optional<依頼者> 実行中_;
    bool 譲らせた_ = false;          // the running search was stopped for a caller before it
    std::atomic<bool> 中止_{false};  // the running search is to stop
    std::vector<読み答え> 答え_;
    bool 終了_ = false;
    std::thread 走者_;
};

}  // namespace kiryuza
