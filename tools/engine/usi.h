// The engine protocol: reads one command line at a time and answers on the output, one flushed
// line at a time. It only parses and prints; the search runs in the SearchService. The dialect
// is defined in docs/ENGINE.md.
#pragma once

#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "notation.h"
#include "search_service.h"

namespace kiryuza {

class UsiSession : private SearchService::Listener {
  public:
    explicit UsiSession(std::ostream& out);
    ~UsiSession() override;

    // Carries out one command line; false once the session should end (quit).
    bool handle(std::string_view line);

  private:
    using Words = std::vector<std::string_view>;

    void usi();
    void setOption(const Words& w);
    void position(const Words& w);
    void go(const Words& w);
    // The mate solver plugs in here; until it does, the ordinary search looks at the position
    // within the given time and the answer is "checkmate notimplemented".
    void goMate(const 深読み設定& limits, int timeMs);
    void startSearch(const 深読み設定& limits, int hardLimitMs, bool holdUntilStop);
    // Remakes the searching player when its table should change size.
    void prepare();

    void line(const 深読み読み筋& 筋) override;
    void finished(const 深読み結果& 結果) override;
    void mateFinished(const 詰み結果& 結果) override;

    // Writes one line and flushes; safe from both threads.
    void say(std::string_view text);

    std::ostream& out_;
    std::mutex outMutex_;
    局面と手番 position_ = 開始局面();
    // The keys of the positions the moves of the last `position` went through before it.
    std::vector<std::uint64_t> passed_;
    int multiPV_ = 1;
    両側の範囲 persons_;  // the sides held to a person's moves (option PersonSide)
    SearchService service_;
    // Set before a search starts and read by the search's thread only while it runs.
    局面と手番 searchRoot_;
    int searchLines_ = 1;
    bool mateMode_ = false;
};

}  // namespace kiryuza
