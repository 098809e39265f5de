#include "engine/search_service.h"

#include <utility>

namespace kiryuza {

namespace {

int 順位(依頼者 誰) {
    return static_cast<int>(誰);
}

}  // namespace

// Passes the lines of a search that wants them on as answers of their own, and stops a search
// that was asked to stop before it had begun (the engine clears a stop when a search starts).
class 読み手サービス::中継 : public 深読み観察 {
  public:
    中継(読み手サービス& s, 依頼者 誰, std::uint64_t 番号, bool 筋も)
        : s_(s), 誰_(誰), 番号_(番号), 筋も_(筋も) {}
    void 経過(const 深読み経過&) override {
        if (s_.中止_.load(std::memory_order_relaxed)) s_.エンジン_->停止();
    }
    void 読み筋(const 深読み読み筋& 筋) override {
        if (!筋も_) return;
        読み答え a;
        a.誰 = 誰_;
        a.番号 = 番号_;
        a.終わり = false;
        a.筋 = 筋;
        s_.答えを置く(std::move(a));
    }

  private:
    読み手サービス& s_;
    依頼者 誰_;
    std::uint64_t 番号_;
    bool 筋も_;
};

読み手サービス::読み手サービス(int スレッド数, std::size_t 表MB, std::function<void()> 知らせ)
    : スレッド数_(std::max(スレッド数, 1)), 表MB_(表MB), 知らせ_(std::move(知らせ)) {}

読み手サービス::~読み手サービス() {
    全て止める();
}

std::uint64_t 読み手サービス::依頼する(依頼者 誰, const 読み依頼& 依頼) {
    std::lock_guard<std::mutex> lock(錠_);
    if (終了_) return 0;
    const std::uint64_t 番号 = 次番号_++;
    捨てる(誰);
    待ち_[順位(誰)] = {依頼, 番号};
    最新番号_[順位(誰)] = 番号;
    // A running search that is no longer wanted, or that a caller before it must wait for.
    if (実行中_ && (*実行中_ == 誰 || 順位(誰) < 順位(*実行中_))) {
        譲らせた_ = *実行中_ != 誰;
        止める();
    }
    if (!走者_.joinable()) 走者_ = std::thread([this] { 走る(); });
    起こす_.notify_all();
    return 番号;
}

void 読み手サービス::取り消す(依頼者 誰) {
    std::lock_guard<std::mutex> lock(錠_);
    捨てる(誰);
    最新番号_[順位(誰)] = 次番号_++;  // nothing asked before counts any more
    if (実行中_ == 誰) 止める();
}

// Stops the running search. The lock is held.
void 読み手サービス::止める() {
    中止_.store(true, std::memory_order_relaxed);
    if (エンジン_) エンジン_->停止();
}

// Drops the caller's waiting request and its answers not yet taken. The lock is held.
void 読み手サービス::捨てる(依頼者 誰) {
    待ち_[順位(誰)] = {};
    std::erase_if(答え_, [誰](const 読み答え& a) { return a.誰 == 誰; });
}

std::vector<読み答え> 読み手サービス::答えを受け取る() {
    std::lock_guard<std::mutex> lock(錠_);
    return std::exchange(答え_, {});
}

void 読み手サービス::全て止める() {
    {
        std::lock_guard<std::mutex> lock(錠_);
        終了_ = true;
        for (auto& w : 待ち_) w = {};
        止める();
    }
    起こす_.notify_all();
    if (走者_.joinable()) 走者_.join();
}

// Queues an answer of a request that is still its caller's latest, and gives notice.
void 読み手サービス::答えを置く(読み答え 答え) {
    {
        std::lock_guard<std::mutex> lock(錠_);
        if (終了_ || 答え.番号 != 最新番号_[順位(答え.誰)]) return;
        答え_.push_back(std::move(答え));
    }
    if (知らせ_) 知らせ_();
}

// Runs the waiting requests, the first caller's first, until the service ends.
void 読み手サービス::走る() {
    std::unique_lock<std::mutex> lock(錠_);
    for (;;) {
        起こす_.wait(lock, [this] {
            if (終了_) return true;
            for (const auto& w : 待ち_)
                if (w.依頼) return true;
            return false;
        });
        if (終了_) return;
        int i = 0;
        while (!待ち_[i].依頼) ++i;
        const 読み依頼 依頼 = std::move(*待ち_[i].依頼);
        const std::uint64_t 番号 = 待ち_[i].番号;
        待ち_[i] = {};
        const auto 誰 = static_cast<依頼者>(i);
        実行中_ = 誰;
        譲らせた_ = false;
        中止_.store(false, std::memory_order_relaxed);
        if (!エンジン_) エンジン_ = std::make_unique<深読みエンジン>(表MB_, スレッド数_);
        lock.unlock();

        中継 見る(*this, 誰, 番号, 依頼.読み筋も);
        深読み設定 設定 = 依頼.設定;
        設定.既出鍵 = 依頼.既出鍵.data();
        設定.既出鍵数 = static_cast<int>(依頼.既出鍵.size());
        const 深読み結果 結果 = エンジン_->探索(依頼.局, 依頼.COM側, 設定, &見る);

        lock.lock();
        実行中_.reset();
        // Stopped for a caller that comes first: it runs again afterwards, unless replaced.
        if (譲らせた_ && !終了_ && !待ち_[i].依頼 && 最新番号_[i] == 番号) {
            待ち_[i] = {依頼, 番号};
            continue;
        }
        lock.unlock();
        読み答え a;
        a.誰 = 誰;
        a.番号 = 番号;
        a.結果 = 結果;
        答えを置く(std::move(a));
        lock.lock();
    }
}

}  // namespace kiryuza
