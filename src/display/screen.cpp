#include "display/screen.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "rules/time_control.h"

namespace kiryuza {

namespace {

const char* const 漢数字[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
const char* const 全角数字[10] = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

// Handicap grades by level -10..10.
const char* const 段級[21] = {
    "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:名人", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:８段", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:７段", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:６段", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:５段",
    "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４段", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:３段", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:２段", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:初段", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:１級",
    "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:２級", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:３級", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４級", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:５級", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:６級",
    "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:７級", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:８級", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:９級", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:10級", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:11級",
    "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:12級",
};

}  // namespace

std::string 文字列変換(int c) {
    if (c >= 1 && c <= 9) return 全角数字[c];
    if (c >= 1001 && c <= 1009) return 漢数字[c - 1000];
    return 駒の名前(c);
}

double 取得_棋譜のX座標(std::string_view IN_文字列) {
    int n = 0;
    for (char c : IN_文字列) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    }
    return 盤原点X + 桝幅 * (3 + (13.0 - n) / 5);
}

namespace {

// Width of one character at `ポイント` points, in twips: half-width for ASCII and half-width
// katakana, full-width for the rest.
double 字幅(std::string_view 字, double ポイント) {
    const auto b0 = static_cast<unsigned char>(字[0]);
    bool 半角 = b0 < 0x80;
    if (字.size() == 3) {
        const unsigned cp = (b0 & 0x0Fu) << 12 | (static_cast<unsigned char>(字[1]) & 0x3Fu) << 6 |
                            (static_cast<unsigned char>(字[2]) & 0x3Fu);
        半角 = cp >= 0xFF61 && cp <= 0xFF9F;
    }
    return ポイント * 20 * (半角 ? 0.5 : 1.0);
}

// The characters of UTF-8 text.
std::vector<std::string_view> 字に分ける(std::string_view s) {
    std::vector<std::string_view> 字;
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t n = 1;
        while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
        字.push_back(s.substr(i, n));
        i += n;
    }
    return 字;
}

}  // namespace

文字配置 範囲内に置く(const std::string& 文, double 希望X, double 左限, double 右限,
                      double ポイント) {
    const std::vector<std::string_view> 字 = 字に分ける(文);
    double 幅 = 0;
    for (std::string_view c : 字) 幅 += 字幅(c, ポイント);
    if (幅 <= 右限 - 左限) {
        const double X = std::max(左限, std::min(希望X, 右限 - 幅));
        return {X, 文};
    }
    const std::string 省略 = "…";
    double 残り = 右限 - 左限 - 字幅(省略, ポイント);
    std::string 短 = "";
    for (std::string_view c : 字) {
        const double w = 字幅(c, ポイント);
        if (w > 残り) break;
        残り -= w;
        短 += c;
    }
    return {左限, 短 + 省略};
}

std::string 変換_数字から文字(long I_数字) {
    const std::string s = std::to_string(I_数字);
    if (s.size() == 1) return "0" + s;
    if (s.size() == 2) return s;
    return "";
}

std::string 調査_時間秒追加結果(double IN_経過秒) {
    double v = IN_経過秒;
    long h = 0;
    if (v >= 3600) {
        h = static_cast<long>(std::floor(v / 3600));
        v -= 3600.0 * static_cast<double>(h);
    }
    const long m = static_cast<long>(std::floor(v / 60));
    const double s = v - 60.0 * static_cast<double>(m);
    return 変換_数字から文字(h) + ":" + 変換_数字から文字(m) + ":" +
           変換_数字から文字(static_cast<long>(std::floor(s)));
}

void 画面::更新() {
    if (カーソル桝_ && カーソル隠れ_) 描画_カーソル(*カーソル桝_);
    キャンバス_.更新();
}

void 画面::描画_絵(int 駒種類, double 座標X, double 座標Y) {
    桝を塗った(座標X, 座標Y);
    キャンバス_.絵(駒種類, 格子X(座標X), 格子Y(座標Y));
    if (形の選択_ && 形の選択に触れる(座標X, 座標Y)) 形の選択を描く();
}

void 画面::描画_桝輪郭(int 描画色, double 座標X, double 座標Y) {
    const int x = static_cast<int>(座標X);
    const int y = static_cast<int>(座標Y);
    if (x == 座標X && y == 座標Y && x >= -1 && x <= 11 && y >= 0 && y <= 9)
        枠色_[x + 1][y] = 描画色;
    桝を塗った(座標X, 座標Y);
    キャンバス_.枠(描画色, 格子X(座標X), 格子Y(座標Y), 桝幅, 桝高);
    if (形の選択_ && 形の選択に触れる(座標X, 座標Y)) 形の選択を描く();
}

void 画面::描画_数値(double 入力X, double 入力Y, long 数値, int 色, int モード,
                     double フォントサイズ) {
    std::string 文;
    if (モード == 0) {
        // A blank stands where a negative number has its sign.
        文 = std::to_string(数値);
        if (数値 >= 0) 文.insert(文.begin(), ' ');
    } else if (数値 >= 1 && 数値 <= 9) {
        文 = 漢数字[数値];
    }
    if (!文.empty()) キャンバス_.文字(格子X(入力X), 格子Y(入力Y), 文, 色, フォントサイズ);
}

void 画面::描画_数値(double 入力X, double 入力Y, const std::string& 文字, int 色, int /*モード*/,
                     double フォントサイズ) {
    キャンバス_.文字(格子X(入力X), 格子Y(入力Y), 文字, 色, フォントサイズ);
}

void 画面::描画_文字_位置(double X, double Y, const std::string& 文字, int 色,
                          double フォントサイズ) {
    キャンバス_.文字(X, Y, 文字, 色, フォントサイズ);
}

void 画面::描画_背景(int IN_背景種類) {
    for (int x = -3; x <= 28; ++x)
        for (int y = -2; y <= 17; ++y)
            if (!(x >= 1 && x <= 9 && y >= 1 && y <= 9)) 描画_絵(IN_背景種類, x, y);
}

void 画面::描画_盤() {
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            描画_絵(状態_.局.盤面[x][y], x, y);
            描画_桝輪郭(色_背景, x, y);
        }
}

void 画面::描画_将棋盤桝() {
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) 描画_桝輪郭(色_桝線, x, y);
}

void 画面::描画_自持盤() {
    for (int k = 1; k <= 7; ++k) {
        const int y = k + 2;
        描画_絵(空桝, 11, y);
        描画_絵(状態_.設定.背景種類, 12, y);
        描画_桝輪郭(色_背景, 11, y);
        const int 数 = 状態_.局.持駒MAN[k];
        if (数 > 0) {
            描画_絵(打駒_MAN[k], 11, y);  // the face it is dropped with
            描画_桝輪郭(色_背景, 11, y);
            描画_数値(12.1, y + 0.3, 数, 色_黒, 0, 14);
            描画_数値(12, y + 0.2, 数, 色_選択枠, 0, 14);
        }
    }
}

void 画面::描画_敵持盤() {
    for (int y = 1; y <= 7; ++y) {
        const int j = 8 - y;
        描画_絵(空桝, -1, y);
        描画_絵(状態_.設定.背景種類, 0, y);
        描画_桝輪郭(色_背景, -1, y);
        const int 数 = 状態_.局.持駒COM[j];
        if (数 > 0) {
            描画_絵(打駒_COM[j], -1, y);
            描画_桝輪郭(色_背景, -1, y);
            描画_数値(0.1, y + 0.3, 数, 色_黒, 0, 14);
            描画_数値(0, y + 0.2, 数, 色_選択枠, 0, 14);
        }
        描画_桝輪郭(色_背景, 1, y);
    }
}

void 画面::描画_桝_数値() {
    for (int i = 1; i <= 9; ++i) {
        描画_絵(状態_.設定.背景種類, i, 0);
        描画_数値(i + 0.2, 0.5, 10 - i, 色_黒, 0, 16);
        描画_数値(i + 0.1, 0.4, 10 - i, 色_黄, 0, 16);
        描画_絵(状態_.設定.背景種類, 10, i);
        描画_数値(10.2, i + 0.4, i, 色_黒, 1, 12);
        描画_数値(10.1, i + 0.3, i, 色_黄, 1, 12);
    }
    描画_自持盤();
}

void 画面::画面_再描画() {
    描画_背景(状態_.設定.背景種類);
    描画_桝_数値();
    描画_自持盤();
    描画_敵持盤();
    描画_盤();
    // Each clock with the turn it is in: the running one as last measured, the other as stopped.
    const 時計値& 時 = 状態_.時計;
    for (const 時計の側 側 : {時計の側::COM, 時計の側::MAN}) {
        const double 手 =
            側 == 時.走る側 ? 時.経過秒 : (側 == 時計の側::COM ? 時.手の秒COM : 時.手の秒MAN);
        描画_所有時間(側 == 時計の側::COM ? 状態_.局.手番値COM : 状態_.局.手番値MAN,
                      側の累計(時, 側) + 手, 手);
    }
    if (状態_.状況.対局モード == 対局モード_COM) 描画_レベル(状態_.状況.COMレベル);
    if (状態_.状況.ハンデ設定フラグ == 定数_ON) 描画_ハンデレベル(状態_.状況.ハンデレベル);
    描画_絵(絵_タイトル, 10.8, 0);
    状態表示を戻す();
    if (カーソル桝_) 描画_カーソル(*カーソル桝_);
}

void 画面::描画_カーソル(桝 c) {
    // While the form is chosen the keys act on the chooser: the cursor waits unseen.
    if (形の選択_) {
        カーソル桝_ = c;
        カーソル隠れ_ = true;
        return;
    }
    // Two frames inside the cell's outline, thick enough to see on any picture.
    for (const double 内 : {50.0, 65.0}) {
        キャンバス_.枠(色_黄, 格子X(c.列) + 内, 格子Y(c.行) + 内, 桝幅 - 2 * 内, 桝高 - 2 * 内);
    }
    カーソル桝_ = c;
    カーソル隠れ_ = false;
}

void 画面::消去_カーソル(桝 c) {
    カーソル桝_.reset();
    int 絵 = 空桝;
    if (盤の桝(c)) {
        絵 = 状態_.局.盤面[c.列][c.行];
    } else if (const auto h = 持駒の桝を求める(c)) {
        const int 数 = (h->COM側 ? 状態_.局.持駒COM : 状態_.局.持駒MAN)[h->番号];
        絵 = 数 > 0 ? 打駒(h->COM側, h->番号) : 空桝;
    } else {
        return;
    }
    描画_絵(絵, c.列, c.行);
    描画_桝輪郭(枠色_[c.列 + 1][c.行], c.列, c.行);
}

double 形の選択の左列(int 先X) {
    return std::clamp(先X - 0.5, 1.0, 盤桝数 - 1.0);
}

void 画面::描画_形の選択(int 先X, int 先Y, int 変えた駒, int 元の駒, bool 変える) {
    形の選択_ = 形の選択表示{先X, 先Y, 変えた駒, 元の駒, 変える};
    形の選択を描く();
}

void 画面::形の選択を描く() {
    const 形の選択表示& c = *形の選択_;
    const double X = 格子X(形の選択の左列(c.先X));
    const double Y = 格子Y(c.先Y);
    キャンバス_.絵(c.変えた駒, X, Y);
    キャンバス_.絵(c.元の駒, X + 桝幅, Y);
    // A border that sets the pair apart from the board, a line between the two pieces, and a
    // thick frame around the one selected.
    for (const double 内 : {0.0, 15.0})
        キャンバス_.枠(色_黒, X + 内, Y + 内, 2 * (桝幅 - 内), 桝高 - 2 * 内);
    キャンバス_.枠(色_白, X + 30, Y + 30, 2 * 桝幅 - 60, 桝高 - 60);
    キャンバス_.枠(色_黒, X + 桝幅, Y, 0, 桝高);
    const double 選X = c.変える ? X : X + 桝幅;
    for (const double 内 : {45.0, 60.0, 75.0})
        キャンバス_.枠(色_選択枠, 選X + 内, Y + 内, 桝幅 - 2 * 内, 桝高 - 2 * 内);
}

void 画面::消去_形の選択() {
    if (!形の選択_) return;
    const 形の選択表示 c = *形の選択_;
    形の選択_.reset();
    // The cells under the pair and the outlines around them, as the position has them; the
    // outlines in a colour of their own last, so that they keep the lines they share.
    const double 左 = 形の選択の左列(c.先X);
    const int 最左 = static_cast<int>(std::floor(左));
    const int 最右 = static_cast<int>(std::ceil(左 + 2)) - 1;
    for (int x = 最左; x <= 最右; ++x) 描画_絵(状態_.局.盤面[x][c.先Y], x, c.先Y);
    for (const bool 色付き : {false, true}) {
        for (int x = 最左 - 1; x <= 最右 + 1; ++x)
            for (int y = c.先Y - 1; y <= c.先Y + 1; ++y) {
                if (!盤の桝({x, y})) continue;
                const int 色 = 枠色_[x + 1][y];
                if ((色 != 色_桝線) == 色付き) 描画_桝輪郭(色, x, y);
            }
    }
    if (カーソル桝_) カーソル隠れ_ = true;
}

std::optional<bool> 画面::形の選択の駒(double x, double y) const {
    if (!形の選択_) return std::nullopt;
    const double 左X = 格子X(形の選択の左列(形の選択_->先X));
    const double 上Y = 格子Y(形の選択_->先Y);
    if (y < 上Y || y >= 上Y + 桝高 || x < 左X || x >= 左X + 2 * 桝幅) return std::nullopt;
    return x < 左X + 桝幅;
}

bool 画面::形の選択に触れる(double 座標X, double 座標Y) const {
    const double 左 = 形の選択の左列(形の選択_->先X);
    return 座標X + 1 >= 左 && 座標X <= 左 + 2 && 座標Y + 1 >= 形の選択_->先Y &&
           座標Y <= 形の選択_->先Y + 1;
}

void 画面::描画_手番表示() {
    const auto& 局 = 状態_.局;
    const int 手番 = 状態_.状況.手番;
    std::string 文;
    if (手番 != 手番_なし && 局.勝者 == 手番_なし) {
        if (状態_.状況.対局モード == 対局モード_COM) {
            文 = 手番 == 局.手番値MAN ? "あなたの番" : "COMの番";
        } else {
            文 = 手番 == 手番_先手 ? "▲先手番" : "△後手番";
        }
    }
    if (文 == 手番表示_) return;
    手番表示_ = 文;
    for (int x = 13; x <= 14; ++x) 描画_絵(状態_.設定.背景種類, x, 4);
    if (文.empty()) return;
    描画_数値(13.1, 4.4, 文, 色_黒, 0, 10);
    描画_数値(13, 4.3, 文, 色_白, 0, 10);
}

void 画面::状態表示を戻す() {
    手番表示_.clear();
    描画_手番表示();
    if (表示中の手数_ >= 0) 描画_手数(表示中の手数_, 色_白);
    // Copies: drawing a move first erases its area, which forgets it.
    const 移動結果表示 MAN = 移動結果MAN_;
    const 移動結果表示 COM = 移動結果COM_;
    if (MAN.有) 描画_移動結果(状態_.局.手番値MAN, MAN.先X, MAN.先Y, MAN.駒, MAN.色);
    if (COM.有) 描画_移動結果(状態_.局.手番値COM, COM.先X, COM.先Y, COM.駒, COM.色);
    if (見出し_.有) {
        const 見出し表示 見 = 見出し_;
        描画_棋譜見出し(見.対局名, 見.上手名, 見.下手名);
    }
}

void 画面::表示記憶消去() {
    表示中の手数_ = -1;
    手番表示_.clear();
    移動結果MAN_ = {};
    移動結果COM_ = {};
    見出し_ = {};
}

void 画面::描画_棋譜見出し(const std::string& 対局名, const std::string& 上手名,
                           const std::string& 下手名) {
    // The row below the board is shared: the title on the left, the player on the right.
    const double 下段Y = 格子Y(10) + 60;
    const double 中央 = 格子X(4.5);
    const 文字配置 題 =
        範囲内に置く(対局名, 取得_棋譜のX座標(対局名) - 3000, 格子X(-1), 中央 - 60, 12);
    const 文字配置 上 = 範囲内に置く(上手名, 取得_棋譜のX座標(上手名), 格子X(1), 格子X(10), 12);
    const 文字配置 下 = 範囲内に置く(下手名, 取得_棋譜のX座標(下手名), 中央 + 60, 格子X(10), 12);
    描画_文字_位置(題.X, 下段Y, 題.文, 色_選択枠, 12);
    描画_文字_位置(上.X, 格子Y(0), 上.文, 色_白, 12);
    描画_文字_位置(下.X, 下段Y, 下.文, 色_白, 12);
    見出し_ = {true, 対局名, 上手名, 下手名};
}

void 画面::描画_棋譜読込み部分消去() {
    見出し_ = {};
    描画_桝_数値();
    描画_絵(状態_.設定.背景種類, -1, 10);
    描画_絵(状態_.設定.背景種類, 0, 10);
    for (int x = 1; x <= 9; ++x) {
        描画_絵(状態_.設定.背景種類, x, 10);
        描画_桝輪郭(色_背景, x, 9);
    }
}

void 画面::描画_移動駒種類(double 入力X, double 入力Y, const std::string& 駒文字, int 色) {
    if (!駒文字.empty()) キャンバス_.文字(格子X(入力X), 格子Y(入力Y), 駒文字, 色, 12);
}

void 画面::描画_文字列(double 入力X, double 入力Y, int 数値, int 色, double サイズ) {
    std::string 文;
    if (数値 >= -10 && 数値 <= 10) {
        文 = 段級[数値 + 10];
    } else if (数値 == 99) {
        文 = "手目";
    }
    if (!文.empty()) キャンバス_.文字(格子X(入力X) + 120, 格子Y(入力Y) + 160, 文, 色, サイズ);
}

void 画面::描画_移動結果(int IN_手番, int 移動先X, int 移動先Y, int 移動駒, int 駒色) {
    消去_移動結果(IN_手番);
    const 移動結果表示 記憶{true, 移動先X, 移動先Y, 移動駒, 駒色};
    const std::string f = 文字列変換(10 - 移動先X);
    const std::string r = 文字列変換(1000 + 移動先Y);
    const std::string p = 文字列変換(移動駒);
    if (IN_手番 == 状態_.局.手番値COM) {
        描画_移動駒種類(-1.5, 8.5, f, 色_黒);
        描画_移動駒種類(-1.6, 8.4, f, 駒色);
        描画_移動駒種類(-1.1, 8.5, r, 色_黒);
        描画_移動駒種類(-1.2, 8.4, r, 駒色);
        描画_移動駒種類(-0.5, 8.5, p, 色_黒);
        描画_移動駒種類(-0.6, 8.4, p, 駒色);
        描画_桝輪郭(色_背景, 1, 8);
        移動結果COM_ = 記憶;
    } else if (IN_手番 == 状態_.局.手番値MAN) {
        描画_移動駒種類(12.5, 2.5, f, 色_黒);
        描画_移動駒種類(12.4, 2.4, f, 駒色);
        描画_移動駒種類(12.9, 2.5, r, 色_黒);
        描画_移動駒種類(12.8, 2.4, r, 駒色);
        描画_移動駒種類(13.5, 2.5, p, 色_黒);
        描画_移動駒種類(13.4, 2.4, p, 駒色);
        移動結果MAN_ = 記憶;
    }
}

void 画面::消去_移動結果(int IN_手番) {
    if (IN_手番 == 状態_.局.手番値COM) {
        消去_思考中();
    } else if (IN_手番 == 状態_.局.手番値MAN) {
        for (int x = 12; x <= 14; ++x) 描画_絵(状態_.設定.背景種類, x, 2);
        移動結果MAN_ = {};
    }
}

void 画面::消去_思考中() {
    移動結果COM_ = {};
    for (int x = -2; x <= 0; ++x) 描画_絵(状態_.設定.背景種類, x, 8);
    描画_桝輪郭(色_背景, -1, 7);
    描画_桝輪郭(色_背景, 1, 8);
}

void 画面::描画_手数(int 数値, int /*色*/) {
    表示中の手数_ = 数値;
    描画_絵(状態_.設定.背景種類, 13, 3);
    描画_絵(状態_.設定.背景種類, 14, 3);
    描画_桝輪郭(色_背景, 11, 3);
    double 影X = 13.3;
    double 字X = 13.2;
    if (数値 >= 100) {
        影X = 13.1;
        字X = 13;
    } else if (数値 >= 10) {
        影X = 13.2;
        字X = 13.1;
    }
    描画_数値(影X, 3.4, 数値, 色_黒, 0, 12);
    描画_数値(字X, 3.3, 数値, 色_白, 0, 12);
    描画_文字列(13.9, 3.2, 99, 色_黒, 10);
    描画_文字列(13.8, 3.1, 99, 色_白, 10);
}

void 画面::消去_レベル() {
    for (int x = -2; x <= 0; ++x) 描画_絵(状態_.設定.背景種類, x, 0);
}

void 画面::描画_思考中() {
    消去_思考中();
    描画_数値(-1.5, 8.5, std::string("思考中"), 色_黒, 0, 12);
    描画_数値(-1.6, 8.4, std::string("思考中"), 色_移動結果, 0, 12);
    描画_桝輪郭(色_背景, 1, 8);
}

void 画面::描画_全桝輪郭() {
    描画_将棋盤桝();
    for (int k = 1; k <= 7; ++k) {
        for (const bool COM側 : {false, true}) {
            const 桝 c = 持駒の位置(COM側, k);
            描画_桝輪郭(色_桝線, c.列, c.行);
        }
    }
}

void 画面::描画_レベル(int IN_LEVEL) {
    描画_数値(-1.4, 0.2, std::string("LEVEL"), 色_黒, 0, 10);
    描画_数値(-1.5, 0.1, std::string("LEVEL"), 色_白, 0, 10);
    描画_数値(0.1, 0.1, IN_LEVEL, 色_黒, 0, 12);
    描画_数値(0, 0, IN_LEVEL, 色_白, 0, 12);
}

void 画面::描画_ハンデレベル(int IN_ハンデレベル) {
    for (int x = 11; x <= 14; ++x) 描画_絵(状態_.設定.背景種類, x, 1);
    描画_文字列(11.1, 1.1, IN_ハンデレベル, 色_黒, 10);
    描画_文字列(11, 1, IN_ハンデレベル, 色_白, 10);
}

void 画面::描画_所有時間(int IN_手番, double IN_思考時間, double 今の手) {
    if (!状態_.設定.経過時間) return;
    // Under a time control the clock shows the time left instead of the time used.
    const 時計値& 時 = 状態_.時計;
    const bool 持ち時間制 = 時.持ち時間秒 > 0 || 時.秒読み秒 > 0;
    const double 示す秒 =
        持ち時間制 ? 残りの表示秒(
                         残り時間(時.持ち時間秒, 時.秒読み秒, IN_思考時間 - 今の手, 今の手).残り秒)
                   : IN_思考時間;
    const std::string 文 = 調査_時間秒追加結果(示す秒);
    消去_所有時間(IN_手番);
    if (IN_手番 == 状態_.局.手番値MAN) {
        描画_数値(13.1, 9.3, 文, 色_黒, 0, 12);
        描画_数値(13, 9.2, 文, 色_白, 0, 12);
    } else if (IN_手番 == 状態_.局.手番値COM) {
        描画_数値(-1.5, 9.3, 文, 色_黒, 0, 12);
        描画_数値(-1.6, 9.2, 文, 色_白, 0, 12);
        描画_桝輪郭(色_背景, 1, 9);
    }
}

void 画面::消去_所有時間(int IN_手番) {
    int 始 = 0;
    if (IN_手番 == 状態_.局.手番値MAN) {
        始 = 13;
    } else if (IN_手番 == 状態_.局.手番値COM) {
        始 = -2;
    } else {
        return;
    }
    for (int x = 始; x <= 始 + 2; ++x) 描画_絵(状態_.設定.背景種類, x, 9);
}

}  // namespace kiryuza
