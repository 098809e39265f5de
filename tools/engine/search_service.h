// The one place where the engine program calls the searching player: it owns the player and
// the thread a search runs on. The protocol hands it a position with its limits and hears back
// through a listener; a service that runs the search on a pool of threads can take its place
// with the same shape.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/deep_search.h"
#include "engine/mate_solver.h"

namespace kiryuza {

class SearchService {
  public:
    // What a search reports, on the search's thread.
    class Listener {
      public:
        virtual ~Listener() = default;
        virtual void line(const 深読み読み筋& 筋) = 0;
        virtual void finished(const 深読み結果& 結果) = 0;
        virtual void mateFinished(const 詰み結果& 結果) = 0;
    };

    struct Request {
        局面 局;
        bool COM側 = false;
        深読み設定 設定;
        int hardLimitMs = 0;                // stopped after this long whatever happens; 0: no limit
        bool holdUntilStop = false;         // report the result only once stop() has been called
        std::vector<std::uint64_t> 既出鍵;  // the game's earlier positions (局面の鍵)
        // The mate solver instead of the search, for 設定.時間ms (0: until stop).
        bool mate = false;
    };

    explicit SearchService(std::size_t hashMB);
    ~SearchService();
    SearchService(const SearchService&) = delete;
    SearchService& operator=(const SearchService&) = delete;

    // The size of the transposition table; the player is made anew before the next search.
    void setHash(std::size_t mb);
    // The threads of each search, from the next search on.
    void setThreads(int n) { threads_ = n; }
    int threads() const { return threads_; }

    // Makes the player anew if its table should change size (slow for a large table); false
    // when there was no memory for it, and the table then has 1 MB.
    bool prepare();
    // Forgets what the player has learnt; ends a running search first.
    void newGame();

    // Starts a search; the previous one must have reported its result.
    void start(const Request& request, Listener& listener);
    // Ends the running search soon (from any thread); it still reports its result.
    void stop();
    // Returns once the last search has reported its result.
    void wait();
    // True from start() until the result has been handed to the listener.
    bool searching() const { return searching_.load(); }

  private:
    class Observer;
    void run(const Request& request, Listener& listener);

    std::unique_ptr<深読みエンジン> engine_;
    std::unique_ptr<詰み探索> solver_;
    std::size_t hashMB_;
    std::size_t engineHashMB_;
    int threads_ = 1;
    std::thread thread_;
    std::atomic<bool> searching_{false};
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopRequested_ = false;  // guarded by mutex_
    std::atomic<bool> stopFlag_{false};
};

}  // namespace kiryuza
