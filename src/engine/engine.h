// The computer player: the influence maps of a position, the probes built on them, mate
// detection, the evaluation and the one-ply search. Plain C++; nothing here allocates.
#pragma once

#include <cstdint>

#include "rules/history.h"
#include "rules/person_moves.h"

namespace kiryuza {

using 盤表 = int[10][10];

// Per-square maps rebuilt by 勢力調査. Cells 1..9 are used; index 0 stays 0.
struct 勢力図 {
    盤表 勢力数_MAN{};
    盤表 勢力数_COM{};
    盤表 守駒_MAN{};
    盤表 守駒_COM{};
    盤表 守駒X_COM{};  // not reset between surveys
    盤表 守駒Y_COM{};  // not reset between surveys
    盤表 攻駒_MAN{};
    盤表 攻駒X_MAN{};
    盤表 攻駒Y_MAN{};
    盤表 攻駒_COM{};
    盤表 攻駒X_COM{};  // not reset between surveys
    盤表 攻駒Y_COM{};  // not reset between surveys
    盤表 王手_MAN{};
    盤表 王手_COM{};
};

// Working state of the computer's turn and the maps of the probes.
struct 思考状態 {
    int 候補駒 = 0;
    int 起点王距離 = 0;
    int 逃道数_手番前 = 0;
    盤表 盤面_手番前{};
    盤表 勢力数_MAN_手番前{};
    盤表 勢力数_COM_手番前{};
    盤表 攻駒X_COM_手番前{};
    盤表 攻駒Y_COM_手番前{};
    盤表 逃道印_MAN{};
    盤表 持角狙座標_MAN{};
    盤表 移動不可駒_MAN{};
    int 移動不可駒有_COM = 定数_OFF;
};

// Scores are held in integer tenths so that sums and ties are exact.
using 評価値 = std::int32_t;
inline constexpr 評価値 点(int whole) {
    return whole * 10;
}

// The move the search settles on.
struct 最善手 {
    bool 有り = false;  // false when no candidate passed the legality check
    int 元X = 0;
    int 元Y = 0;
    int 先X = 0;
    int 先Y = 0;
    int 駒 = 0;    // the code the move leaves on the destination
    int 元駒 = 0;  // the code that stood on the origin (board moves)
    評価値 評価 = 0;
};

// Observer of the search: the clock tick once per origin column and hand index, and each
// evaluated candidate (for the analysis tool).
class 探索観察 {
  public:
    virtual ~探索観察() = default;
    virtual void 時計() {}
    virtual void 評価(int /*元X*/, int /*元Y*/, int /*先X*/, int /*先Y*/, int /*駒*/,
                      評価値 /*評価*/) {}
};

class 思考エンジン {
  public:
    explicit 思考エンジン(局面& 対象) : 局(対象) {}

    局面& 局;
    勢力図 図;
    思考状態 思考;
    int COMレベル = 3;
    // The moves of the side it chooses for: every move for the computer's own turn; a person's
    // for a hint, so that the move it weighs is the move the person can make.
    手の範囲 範囲 = 手の範囲::全て;

    // Influence survey and the directional procedures it dispatches to.
    void 勢力調査();
    void 勢力確定上直進(int 駒種類, int 入力X, int 入力Y);
    void 勢力確定下直進(int 駒種類, int 入力X, int 入力Y);
    void 勢力確定右直進(int 駒種類, int 入力X, int 入力Y);
    void 勢力確定左直進(int 駒種類, int 入力X, int 入力Y);
    void 勢力確定自金(int 駒種類, int 入力X, int 入力Y);
    void 勢力確定敵金(int 入力X, int 入力Y);
    void 勢力確定自角(int 入力X, int 入力Y);
    void 勢力確定敵角(int 駒種類, int 入力X, int 入力Y);

    // Probes on the influence maps.
    void 調査_持角狙座標();
    void 調査_移動不可駒();

    // Mate detection.
    int 詰めかCOM();
    int 詰めかMAN();
    int 詰めかMAN_COM移動();
    int 調査_自王逃道();

    // Evaluation of the position after a candidate of the computer.
    評価値 盤評価(int 取得駒, int 移動駒, int 移動元X, int 移動元Y, int 移動先X, int 移動先Y);
    評価値 盤評価_COM危険座標(int 移動駒, int COM移動先X, int COM移動先Y);
    int 盤評価_自角注意_COM(int 移動元X, int 移動元Y, int 移動駒);
    int 調査_移動可場所数(int 移動元X, int 移動元Y, int 移動駒);
    int 調査_桂狙い(int 移動先X, int 移動先Y);
    int 調査_香狙い(int 移動先X, int 移動先Y);
    int 調査_自守駒MAN_直進駒(int 入力X, int 入力Y);
    int 調査_周辺状況(int 移動先X, int 移動先Y);

    // The computer's search: every legal board move and drop, one ply, best static score.
    // Leaves the board as it found it.
    最善手 探索(探索観察& 観察);

    // The computer's turn as every front end plays it: the survey of the position as it
    // stands, then the search.
    最善手 手を選ぶ(探索観察& 観察);
    // Carries the chosen move out (capture into the hand included), tidies what follows from
    // the board and surveys the position after it.
    void 手を指す(const 最善手& 手, 局面表示& 表示);

    // After a survey: an upper-side piece bears on the lower king.
    bool MAN王手() const { return 図.勢力数_COM[局.王位置X_MAN][局.王位置Y_MAN] > 0; }

  private:
    void MAN勢力(int ox, int oy, int tx, int ty, int c, bool 王手試験);
    template <unsigned 記録>
    void COM勢力(int ox, int oy, int tx, int ty, int c);
    void 線勢力(int 記録駒, int ox, int oy, int dx, int dy);
    int 詰め_合駒不能(int 王X, int 王Y, bool COM側);
    評価値 駒別評価(評価値 score, int 取得駒, int 移動駒, int 移動元X, int 移動元Y, int 移動先X,
                    int 移動先Y);
};

// The one-ply player's move for either side of `局`, searched on the engine's own position
// (which it overwrites): the upper side's as it is, the lower side's on the position turned
// round (the player is made for the upper side) and turned back, in the lower side's encoding.
最善手 一手読みの手(思考エンジン& エンジン, const 局面& 局, bool COM側, 探索観察& 観察);

// Where move n went: the first square (columns outer, rows inner) that differs between history
// entries n - 1 and n and is not empty afterwards. Outputs are left alone when none differs.
void 調査_移動結果(const 棋譜表& 棋譜, int IN_CNT, int& O_移動先X, int& O_移動先Y,
                   int& O_移動駒種類);

}  // namespace kiryuza
