// The transposition table of the searching player: results of searched positions by Zobrist
// key, in pairs of entries, sized once when the player is made and shared by all its threads.
// Each entry is two 64-bit words read and written as relaxed atomics: the data, and the key
// xor the data. Two threads writing one entry at once leave a pair whose key does not check,
// which reads as nothing; no lock is taken.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/deep_board.h"

namespace kiryuza {

enum class 値種別 : std::uint8_t { なし, 上限, 下限, 正確 };

struct 置換項 {
    手符号 手 = 手なし;
    std::int16_t 値 = 0;
    std::int8_t 深さ = 0;
    値種別 種別 = 値種別::なし;
    std::uint8_t 世代 = 0;  // 0..63
};

class 置換表 {
  public:
    explicit 置換表(std::size_t MB) {
        std::size_t n = 2;
        while (n * 2 * sizeof(語) <= MB * 1024 * 1024) n *= 2;
        語_ = std::make_unique<語[]>(n);
        数_ = n;
        mask_ = n - 1;
    }

    std::size_t 項数() const { return 数_; }

    void 消去() {
        for (std::size_t i = 0; i < 数_; ++i) {
            語_[i].鍵印.store(0, std::memory_order_relaxed);
            語_[i].中身.store(0, std::memory_order_relaxed);
        }
    }
    void 次の世代() { 世代_ = static_cast<std::uint8_t>((世代_ + 1) & 63); }

    // The entry stored for `鍵`, copied into `出力`; false when there is none.
    bool 引く(std::uint64_t 鍵, 置換項& 出力) const {
        const std::size_t i = static_cast<std::size_t>(鍵) & mask_ & ~std::size_t{1};
        for (std::size_t j = i; j <= i + 1; ++j) {
            const 置換項 e = 読む(j, 鍵);
            if (e.種別 != 値種別::なし) {
                出力 = e;
                return true;
            }
        }
        return false;
    }

    // Stores a result: over the same position, else over the shallower or older of the pair.
    void 書く(std::uint64_t 鍵, 手符号 手, int 値, int 深さ, 値種別 種別) {
        const std::size_t i = static_cast<std::size_t>(鍵) & mask_ & ~std::size_t{1};
        std::size_t j = i;
        置換項 e = 読む(i, 鍵);
        if (e.種別 == 値種別::なし) {
            const 置換項 f = 読む(i + 1, 鍵);
            if (f.種別 != 値種別::なし || 重み(i + 1) < 重み(i)) {
                j = i + 1;
                e = f;
            }
        }
        if (手 == 手なし && e.種別 != 値種別::なし) 手 = e.手;  // keep the best move already known
        const std::uint64_t 中身 =
            static_cast<std::uint64_t>(手) |
            static_cast<std::uint64_t>(static_cast<std::uint16_t>(値)) << 32 |
            static_cast<std::uint64_t>(static_cast<std::uint8_t>(深さ)) << 48 |
            static_cast<std::uint64_t>(種別) << 56 | static_cast<std::uint64_t>(世代_) << 58;
        語_[j].中身.store(中身, std::memory_order_relaxed);
        語_[j].鍵印.store(鍵 ^ 中身, std::memory_order_relaxed);
    }

  private:
    struct 語 {
        std::atomic<std::uint64_t> 鍵印{0};
        std::atomic<std::uint64_t> 中身{0};
    };

    // Entry j when it holds `鍵`; an empty entry otherwise.
    置換項 読む(std::size_t j, std::uint64_t 鍵) const {
        const std::uint64_t 中身 = 語_[j].中身.load(std::memory_order_relaxed);
        const std::uint64_t 鍵印 = 語_[j].鍵印.load(std::memory_order_relaxed);
        if ((鍵印 ^ 中身) != 鍵 || 中身 == 0) return {};
        return 解く(中身);
    }

    static 置換項 解く(std::uint64_t 中身) {
        置換項 e;
        e.手 = static_cast<手符号>(中身 & 0xFFFFFFFFu);
        e.値 = static_cast<std::int16_t>(static_cast<std::uint16_t>(中身 >> 32));
        e.深さ = static_cast<std::int8_t>(static_cast<std::uint8_t>(中身 >> 48));
        e.種別 = static_cast<値種別>((中身 >> 56) & 3u);
        e.世代 = static_cast<std::uint8_t>(中身 >> 58);
        return e;
    }

    // How much an entry is worth keeping: its depth, less when it is from an older search.
    int 重み(std::size_t j) const {
        const 置換項 e = 解く(語_[j].中身.load(std::memory_order_relaxed));
        if (e.種別 == 値種別::なし) return -1000;
        return e.深さ - (e.世代 == 世代_ ? 0 : 100);
    }

    std::unique_ptr<語[]> 語_;
    std::size_t 数_ = 0;
    std::size_t mask_ = 1;
    std::uint8_t 世代_ = 0;
};

}  // namespace kiryuza
