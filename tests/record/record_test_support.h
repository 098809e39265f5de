// Helpers for the record tests: an in-memory file system and histories to write.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "interfaces/platform.h"
#include "record/record_file.h"
#include "rules/history.h"

namespace kiryuza::testing {

// Files held in memory; a write can be made to fail with a given text.
class FakeFiles : public ファイル系 {
  public:
    std::map<std::string, std::vector<std::uint8_t>> files;
    std::string writeError;  // when not empty, every write fails with this text
    int writes = 0;

    bool 存在(const std::string& パス) override { return files.count(パス) > 0; }
    std::optional<std::vector<std::uint8_t>> 読む(const std::string& パス, std::string& 誤り,
                                                  std::size_t 上限) override {
        const auto it = files.find(パス);
        if (it == files.end()) {
            誤り = "ファイルが見つかりません";
            return std::nullopt;
        }
        if (it->second.size() > 上限) {
            誤り = 読込文_大きすぎる;
            return std::nullopt;
        }
        return it->second;
    }
    ファイル結果 書く(const std::string& パス, const std::vector<std::uint8_t>& 内容) override {
        ++writes;
        if (!writeError.empty()) return {false, writeError};
        files[パス] = 内容;
        return {true, ""};
    }

    void put(const std::string& パス, const std::string& バイト列) {
        files[パス] = std::vector<std::uint8_t>(バイト列.begin(), バイト列.end());
    }
    std::string text(const std::string& パス) const {
        const auto& v = files.at(パス);
        return std::string(v.begin(), v.end());
    }
};

// A history put together entry by entry.
struct 棋譜組立 {
    std::vector<棋譜項目> 項目 = std::vector<棋譜項目>(棋譜最大数);

    // Records the board and hands of `局` as entry n with the four times.
    void 記入(int n, const 局面& 局, double 前秒M, double 後秒M, double 前秒C, double 後秒C) {
        棋譜項目& e = 項目[static_cast<std::size_t>(n)];
        std::memcpy(e.盤面, 局.盤面, sizeof 局.盤面);
        std::memcpy(e.持駒MAN, 局.持駒MAN, sizeof 局.持駒MAN);
        std::memcpy(e.持駒COM, 局.持駒COM, sizeof 局.持駒COM);
        e.前秒M = 前秒M;
        e.後秒M = 後秒M;
        e.前秒C = 前秒C;
        e.後秒C = 後秒C;
    }
    // The history of entries 0..記録数.
    std::unique_ptr<棋譜表> 作る(int 記録数) const {
        auto 棋譜 = std::make_unique<棋譜表>();
        棋譜->置き換える(項目.data(), 記録数);
        return 棋譜;
    }
};

inline 局面 開始局面() {
    局面 局;
    初期配置(局);
    return 局;
}

// A random position that a record line accepts: one king per side, every other piece of a
// set either on a random square (random owner and form) or in a random hand (at most 9 each).
inline 局面 乱数局面(std::mt19937& 乱数) {
    局面 局;
    std::vector<int> 駒;
    const 局面 開始 = 開始局面();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (開始.盤面[x][y] != 空桝)
                駒.push_back(開始.盤面[x][y] < 0 ? -開始.盤面[x][y] : 開始.盤面[x][y]);
    auto 空き桝に置く = [&](int code) {
        for (;;) {
            const int x = 1 + static_cast<int>(乱数() % 9);
            const int y = 1 + static_cast<int>(乱数() % 9);
            if (局.盤面[x][y] == 空桝) {
                局.盤面[x][y] = code;
                return;
            }
        }
    };
    for (int m : 駒) {
        if (m == 駒_COM王) continue;
        const bool COM側 = 乱数() % 2 == 0;
        const int k = 持駒番号(m);
        int* 手 = COM側 ? 局.持駒COM : 局.持駒MAN;
        if (乱数() % 3 == 0 && 手[k] < 9) {
            ++手[k];
            continue;
        }
        // Gold has one form; the others come promoted or not at random.
        const int 形 = (m == 駒_COM金 || 乱数() % 2 == 0) ? m - m % 10 : m - m % 10 + 1;
        空き桝に置く(COM側 ? 形 : -形);
    }
    空き桝に置く(駒_MAN王);
    空き桝に置く(駒_COM王);
    return 局;
}

// Two histories hold the same game with the same entry on the board.
inline bool 同じ棋譜表(const 棋譜表& a, const 棋譜表& b) {
    return 記録が同じ(a, b) && a.棋譜手数() == b.棋譜手数();
}

}  // namespace kiryuza::testing
