// Form1's panel 棋譜と形勢: the move list that follows the game and puts any entry on the
// board, and the record copied or saved as text.
#include "display/move_list.h"
#include "game/form1.h"

namespace kiryuza {

// The side that made the history's first move moved first: ▲ in the list.
bool Form1::先手はCOM側() const {
    if (s_.棋譜.棋譜記録数() >= 1) {
        if (const auto 手 = 一覧の手を求める(s_.棋譜, 1, true)) return 手->COM側;
    }
    return s_.局.手番値COM == 手番_先手;
}

// Brings the move list in step with the history and the entry on the board. Nothing is sent
// while the panel is hidden; showing it sends everything.
void Form1::一覧を合わせる() {
    auto& 形勢 = 環境_.形勢;
    if (!形勢.表示中()) return;
    const 棋譜表& 棋譜 = s_.棋譜;
    const bool 先手COM = 先手はCOM側();
    const int ハンデ = s_.状況.ハンデ設定フラグ == 定数_ON || 棋譜.出自() == 棋譜の出自::ハンデ
                           ? s_.状況.ハンデレベル
                           : 0;
    std::vector<一覧行> 行;
    行.reserve(static_cast<std::size_t>(棋譜.棋譜記録数()) + 1);
    行.push_back({"", 一覧の文(棋譜, 0, 先手COM, ハンデ), "", ""});
    for (int n = 1; n <= 棋譜.棋譜記録数(); ++n) {
        const auto 手 = 一覧の手を求める(棋譜, n, 先手COM);
        行.push_back({std::to_string(n), 一覧の文(棋譜, n, 先手COM, ハンデ),
                      手 ? 消費時間の文(手->秒) : "", ""});
    }
    if (行 != 送った行_) {
        形勢.行を置く(行);
        送った行_ = std::move(行);
        送った選択_ = -1;
    }
    if (棋譜.棋譜手数() != 送った選択_) {
        送った選択_ = 棋譜.棋譜手数();
        形勢.選択設定(送った選択_);
    }
}

void Form1::KIFU_LIST_Click() {
    環境_.形勢.表示設定(!環境_.形勢.表示中());
    形勢パネル_表示変化(環境_.形勢.表示中());
}

// The panel was shown or hidden, by the menu, its own close button or the window's memory.
void Form1::形勢パネル_表示変化(bool 表示) {
    環境_.メニュー欄.チェック設定(control::KIFU_LIST, 表示);
    送った行_.clear();
    送った選択_ = -1;
    一覧を合わせる();
}

// Puts history entry n on the board as stepping there with 戻 and 進 would: the position,
// both hands, the clocks as they stood, each side's last move; the game waits to be resumed.
void Form1::棋譜一覧_選択(int n) {
    auto& 状況 = s_.状況;
    auto& 棋譜 = s_.棋譜;
    if (n == 棋譜.棋譜手数() || n < 0 || n > 棋譜.棋譜記録数()) return;
    if (思考中なら断る() || 状況.手番 == 手番_なし) {
        if (状況.手番 == 手番_なし) 音_.鳴らす_禁止();
        送った選択_ = -1;
        一覧を合わせる();
        return;
    }
    const 自動保存の番 番{*this};
    パネルを閉じる();
    状況.再開フラグ = 定数_ON;
    状況.選択状態 = 0;
    環境_.Timer1.停止();
    画面_.描画_将棋盤桝();
    画面_.消去_思考中();
    const int 前 = 棋譜.棋譜手数();
    while (棋譜.棋譜手数() < n && 棋譜.進める()) {
    }
    while (棋譜.棋譜手数() > n) 棋譜.戻す();
    const int 動き = 棋譜.棋譜手数() - 前;
    状況.手数 += 動き;
    if (動き % 2 != 0) 状況.手番 = -状況.手番;
    棋譜の局面を置く();
    最後の指し手を描く();
    画面_.描画_手数(状況.手数, 色_白);
    画面_.描画_手番表示();
    音_.鳴らす_駒打();
}

void Form1::検討_切替() {}

void Form1::棋譜をコピー_Click() {}

void Form1::棋譜を文で保存_Click() {}

}  // namespace kiryuza
