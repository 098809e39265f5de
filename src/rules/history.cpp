#include "rules/history.h"

#include <algorithm>
#include <cstring>

namespace kiryuza {

棋譜項目& 棋譜表::用意(int n) {
    const auto size = static_cast<std::size_t>(n) + 1;
    if (項目_.size() < size) 項目_.resize(size);
    return 項目_[static_cast<std::size_t>(n)];
}

棋譜項目& 棋譜表::写す(int n, const 局面& 局) {
    棋譜項目& e = 用意(n);
    for (int x = 0; x <= 盤桝数; ++x)
        for (int y = 0; y <= 盤桝数; ++y) e.盤面[x][y] = 局.盤面[x][y];
    for (int k = 0; k <= 7; ++k) {
        e.持駒MAN[k] = 局.持駒MAN[k];
        e.持駒COM[k] = 局.持駒COM[k];
    }
    return e;
}

void 棋譜表::開始(const 局面& 局, double 秒M, double 秒C, 棋譜の出自 出自) {
    手数_ = 0;
    記録数_ = 0;
    出自_ = 出自;
    棋譜項目& e = 写す(0, 局);
    e.前秒M = e.後秒M = 秒M;
    e.前秒C = e.後秒C = 秒C;
}

保存結果 棋譜表::手順保存(const 局面& 局, double 前秒M, double 後秒M, double 前秒C, double 後秒C) {
    if (!空きあり()) return 保存結果::満杯;
    棋譜項目& e = 写す(手数_, 局);
    e.前秒M = 前秒M;
    e.後秒M = 後秒M;
    e.前秒C = 前秒C;
    e.後秒C = 後秒C;
    記録数_ = 手数_;
    return 保存結果::保存;
}

void 棋譜表::着手後保存(const 局面& 局) {
    // 手順保存 made sure there is room and left 記録数_ == 手数_.
    if (!空きあり()) return;
    用意(手数_ + 1);  // before holding on to an entry: making one may move them all
    const 棋譜項目& 前 = 項目_[手数_];
    ++手数_;
    棋譜項目& e = 写す(手数_, 局);
    e.前秒M = e.後秒M = 前.後秒M;
    e.前秒C = e.後秒C = 前.後秒C;
    記録数_ = 手数_;
}

void 棋譜表::以降を捨てる() {
    記録数_ = 手数_;
    棋譜項目& e = 項目_[手数_];
    e.後秒M = e.前秒M;
    e.後秒C = e.前秒C;
}

bool 棋譜表::進める() {
    if (手数_ >= 記録数_) return false;
    ++手数_;
    return true;
}

bool 棋譜表::戻す() {
    if (手数_ < 1) return false;
    --手数_;
    return true;
}

void 棋譜表::置き換える(const 棋譜項目* 項目, int n, 棋譜の出自 出自) {
    n = std::clamp(n, 0, 棋譜最大手数);
    用意(n);
    std::copy(項目, 項目 + n + 1, 項目_.begin());
    手数_ = 0;
    記録数_ = n;
    出自_ = 出自;
}

const 棋譜項目& 棋譜表::項目(int n) const {
    return 項目_[std::clamp(n, 0, 記録数_)];
}

bool 記録が同じ(const 棋譜表& a, const 棋譜表& b) {
    if (a.棋譜記録数() != b.棋譜記録数() || a.出自() != b.出自()) return false;
    for (int n = 0; n <= a.棋譜記録数(); ++n) {
        if (std::memcmp(&a.項目(n), &b.項目(n), sizeof(棋譜項目)) != 0) return false;
    }
    return true;
}

void 棋譜の局面を写す(const 棋譜項目& 項目, 局面& 局) {
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) 局.盤面[x][y] = 項目.盤面[x][y];
    for (int k = 1; k <= 7; ++k) {
        局.持駒MAN[k] = 項目.持駒MAN[k];
        局.持駒COM[k] = 項目.持駒COM[k];
    }
    派生値を整える(局);
}

void 派生値を整える(局面& 局) {
    局.持駒総数MAN = 0;
    局.持駒総数COM = 0;
    for (int k = 1; k <= 7; ++k) {
        局.持駒総数MAN += 局.持駒MAN[k];
        局.持駒総数COM += 局.持駒COM[k];
    }
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) {
            if (局.盤面[x][y] == 駒_MAN王) {
                局.王位置X_MAN = x;
                局.王位置Y_MAN = y;
            } else if (局.盤面[x][y] == 駒_COM王) {
                局.王位置X_COM = x;
                局.王位置Y_COM = y;
            }
        }
    調査_2歩フラグ設定(局);
}

}  // namespace kiryuza
