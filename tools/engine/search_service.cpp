#include "search_service.h"

#include <new>

namespace kiryuza {

namespace {

constexpr std::size_t kSolverMB = 16;  // the mate solver's table, made at the first go mate

}  // namespace

// Passes the lines on, and every 4096 nodes repeats a stop request (one made just before the
// search began is cleared by it) and enforces the hard limit.
class SearchService::Observer : public 深読み観察 {
  public:
    Observer(SearchService& service, Listener& listener, int hardLimitMs)
        : service_(service), listener_(listener), hardLimitMs_(hardLimitMs) {}
    void 経過(const 深読み経過& e) override {
        if (service_.stopFlag_.load() || (hardLimitMs_ > 0 && e.秒 * 1000 >= hardLimitMs_))
            service_.engine_->停止();
    }
    void 読み筋(const 深読み読み筋& 筋) override { listener_.line(筋); }

  private:
    SearchService& service_;
    Listener& listener_;
    int hardLimitMs_;
};

SearchService::SearchService(std::size_t hashMB) : hashMB_(hashMB), engineHashMB_(0) {}

SearchService::~SearchService() {
    stop();
    wait();
}

void SearchService::setHash(std::size_t mb) {
    hashMB_ = mb;
}

bool SearchService::prepare() {
    if (searching()) return true;
    wait();
    if (engine_ && engineHashMB_ == hashMB_) {
        engine_->スレッド数を決める(threads_);
        return true;
    }
    engine_.reset();  // free the old table before the new one is taken
    try {
        engine_ = std::make_unique<深読みエンジン>(hashMB_, threads_);
        engineHashMB_ = hashMB_;
        return true;
    } catch (const std::bad_alloc&) {
        hashMB_ = engineHashMB_ = 1;
        engine_ = std::make_unique<深読みエンジン>(hashMB_, threads_);
        return false;
    }
}

void SearchService::newGame() {
    stop();
    wait();
    prepare();
    engine_->初期化();
}

void SearchService::start(const Request& request, Listener& listener) {
    wait();
    prepare();
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = false;
    }
    stopFlag_.store(false);
    searching_.store(true);
    thread_ = std::thread([this, request, &listener] { run(request, listener); });
}

void SearchService::run(const Request& request, Listener& listener) {
    if (request.mate) {
        if (!solver_) solver_ = std::make_unique<詰み探索>(kSolverMB);
        詰み設定 条件;
        条件.時間ms = request.設定.時間ms;
        条件.最大手数 = 詰み手順最大長;
        条件.範囲 = request.設定.範囲;
        // A stop that came before the solver began: it clears stops when it starts.
        const 詰み結果 r =
            stopFlag_.load() ? 詰み結果{} : solver_->探す(request.局, request.COM側, 条件);
        searching_.store(false);
        listener.mateFinished(r);
        return;
    }
    Observer observer(*this, listener, request.hardLimitMs);
    深読み設定 設定 = request.設定;
    設定.既出鍵 = request.既出鍵.data();
    設定.既出鍵数 = static_cast<int>(request.既出鍵.size());
    const 深読み結果 result = engine_->探索(request.局, request.COM側, 設定, &observer);
    if (request.holdUntilStop) {
        std::unique_lock lock(mutex_);
        stopped_.wait(lock, [this] { return stopRequested_; });
    }
    searching_.store(false);
    listener.finished(result);
}

void SearchService::stop() {
    stopFlag_.store(true);
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    stopped_.notify_all();
    if (searching() && engine_) engine_->停止();
    if (searching() && solver_) solver_->停止();
}

void SearchService::wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace kiryuza
