// The transposition table of the searching player: results of searched positions by Zobrist
// key, in pairs of 16-byte entries, sized once when the player is made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/deep_board.h"

namespace kiryuza {

enum class 値種別 : std::uint8_t { なし, 上限, 下限, 正確 };

struct 置換項 {
    std::uint64_t 鍵 = 0;
    手符号 手 = 手なし;
    std::int16_t 値 = 0;
    std::int8_t 深さ = 0;
    値種別 種別 = 値種別::なし;
    std::uint8_t 世代 = 0;
};

class 置換表 {
  public:
    explicit 置換表(std::size_t MB) {
        std::size_t n = 2;
        while (n * 2 * sizeof(置換項) <= MB * 1024 * 1024) n *= 2;
        項_.assign(n, 置換項{});
        mask_ = n - 1;
    }

    void 消去() {
        for (auto& e : 項_) e = 置換項{};
    }
    void 次の世代() { ++世代_; }

    // The entry stored for `鍵`, or nullptr.
    const 置換項* 引く(std::uint64_t 鍵) const {
        const std::size_t i = static_cast<std::size_t>(鍵) & mask_ & ~std::size_t{1};
        if (項_[i].鍵 == 鍵 && 項_[i].種別 != 値種別::なし) return &項_[i];
        if (項_[i + 1].鍵 == 鍵 && 項_[i + 1].種別 != 値種別::なし) return &項_[i + 1];
        return nullptr;
    }

    // Stores a result: over the same position, else over the shallower or older of the pair.
    void 書く(std::uint64_t 鍵, 手符号 手, int 値, int 深さ, 値種別 種別) {
        const std::size_t i = static_cast<std::size_t>(鍵) & mask_ & ~std::size_t{1};
        置換項* e = &項_[i];
        if (e->鍵 != 鍵) {
            置換項* f = &項_[i + 1];
            if (f->鍵 == 鍵 || 重み(*f) < 重み(*e)) e = f;
        }
        if (手 == 手なし && e->鍵 == 鍵) 手 = e->手;  // keep the best move already known
        e->鍵 = 鍵;
        e->手 = 手;
        e->値 = static_cast<std::int16_t>(値);
        e->深さ = static_cast<std::int8_t>(深さ);
        e->種別 = 種別;
        e->世代 = 世代_;
    }

  private:
    // How much an entry is worth keeping: its depth, less when it is from an older search.
    int 重み(const 置換項& e) const {
        if (e.種別 == 値種別::なし) return -1000;
        return e.深さ - (e.世代 == 世代_ ? 0 : 100);
    }

    std::vector<置換項> 項_;
    std::size_t mask_ = 1;
    std::uint8_t 世代_ = 0;
};

}  // namespace kiryuza
