// Fake platform for driving Form1 headless: a canvas that records what is drawn, message boxes
// answered from a script, a clock that moves only when told (and a little on every reading),
// an in-memory file system, a UTF-8 pass-through codec and recording sound calls.
#pragma once

#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "game/controls.h"
#include "game/form1.h"

namespace kiryuza::testing {

struct 描いた絵 {
    int コード;
    double X, Y;
};
struct 描いた字 {
    double X, Y;
    std::string 文;
    int 色;
    double ポイント;
};

// What the window shows, kept as the real window keeps it: the last picture painted at each
// place, the last outline of each cell, and the texts not yet painted over.
struct 画面模型 {
    std::map<std::pair<long, long>, int> 絵;  // top-left corner in twips -> picture code
    std::map<std::pair<long, long>, int> 枠;  // top-left corner in twips -> colour
    std::vector<描いた字> 字;

    static std::pair<long, long> 点(double X, double Y) { return {std::lround(X), std::lround(Y)}; }
    // A picture covers a cell: texts starting inside it are gone, and so are frames drawn
    // inside it (the cell's own outline, at its corner, is left to whoever draws it next), and
    // the pictures it overlaps, unless it is the title, which is drawn over what lies beneath.
    void 絵を描く(int c, double X, double Y) {
        if (c != 絵_タイトル) {
            std::erase_if(絵, [&](const auto& e) {
                const auto [ex, ey] = e.first;
                return std::abs(ex - X) < 569.5 && std::abs(ey - Y) < 659.5;
            });
        }
        絵[点(X, Y)] = c;
        std::erase_if(字, [&](const 描いた字& d) {
            return d.X >= X - 0.5 && d.X < X + 569.5 && d.Y >= Y - 0.5 && d.Y < Y + 659.5;
        });
        std::erase_if(枠, [&](const auto& f) {
            const auto [fx, fy] = f.first;
            return fx > X + 0.5 && fx < X + 569.5 && fy > Y + 0.5 && fy < Y + 659.5;
        });
    }
    // Whether the keyboard's cursor shows on cell (x, y): a yellow frame inside it.
    bool カーソルあり(int x, int y) const {
        const auto it = 枠.find(点(1050 + 570.0 * x + 50, 100 + 660.0 * y + 50));
        return it != 枠.end() && it->second == 色_黄;
    }
    void 全消去() {
        絵.clear();
        枠.clear();
        字.clear();
    }
    // The picture and the outline last painted on cell (x, y); -12345 when none.
    int 桝の絵(int x, int y) const {
        const auto it = 絵.find(点(1050 + 570.0 * x, 100 + 660.0 * y));
        return it == 絵.end() ? -12345 : it->second;
    }
    int 桝の枠(int x, int y) const {
        const auto it = 枠.find(点(1050 + 570.0 * x, 100 + 660.0 * y));
        return it == 枠.end() ? -12345 : it->second;
    }
};

class 記録キャンバス : public キャンバス {
  public:
    std::vector<描いた絵> 絵一覧;
    std::vector<描いた字> 字一覧;
    画面模型 模型;
    int 更新回数 = 0;
    void 絵(int c, double X, double Y) override {
        絵一覧.push_back({c, X, Y});
        模型.絵を描く(c, X, Y);
    }
    void 枠(int 色, double X, double Y, double, double) override {
        模型.枠[画面模型::点(X, Y)] = 色;
    }
    void 文字(double X, double Y, const std::string& 文, int 色, double pt) override {
        字一覧.push_back({X, Y, 文, 色, pt});
        模型.字.push_back({X, Y, 文, 色, pt});
    }
    void 背景色(int) override { 模型.全消去(); }
    void 更新() override { ++更新回数; }
    // Forgets what was drawn so far (what is shown stays in the model).
    void 消す() {
        絵一覧.clear();
        字一覧.clear();
    }
    // The text is shown now (drawn and not painted over).
    bool 見える(const std::string& 文) const {
        for (const auto& d : 模型.字)
            if (d.文 == 文) return true;
        return false;
    }
    bool 字あり(const std::string& 文) const {
        for (const auto& d : 字一覧)
            if (d.文 == 文) return true;
        return false;
    }
    // The last picture painted on cell (x, y).
    int 最後の絵(int x, int y) const {
        const double X = 1050 + 570.0 * x;
        const double Y = 100 + 660.0 * y;
        for (auto it = 絵一覧.rbegin(); it != 絵一覧.rend(); ++it)
            if (it->X == X && it->Y == Y) return it->コード;
        return -12345;
    }
};

struct 表示した箱 {
    std::string 本文, 題;
    ボタン種類 種類;
    bool 警告;
};

class 台本メッセージ : public メッセージ窓 {
  public:
    std::vector<表示した箱> 箱一覧;
    std::deque<押されたボタン> 答え;  // answers for Yes/No boxes, in order; default はい
    std::function<void(const 表示した箱&)> 表示時;
    押されたボタン 表示(const std::string& 本文, const std::string& 題, ボタン種類 種類,
                        bool 警告) override {
        箱一覧.push_back({本文, 題, 種類, 警告});
        if (表示時) 表示時(箱一覧.back());
        if (種類 == ボタン種類::OK) return 押されたボタン::OK;
        if (答え.empty()) return 押されたボタン::はい;
        const auto a = 答え.front();
        答え.pop_front();
        return a;
    }
    bool 出た(const std::string& 本文) const {
        for (const auto& b : 箱一覧)
            if (b.本文 == 本文) return true;
        return false;
    }
    std::string 最後() const { return 箱一覧.empty() ? "" : 箱一覧.back().本文; }
};

// Time of day that advances by `歩み` seconds on every reading, so busy waits end.
class 偽時計 : public 時刻源 {
  public:
    double 今 = 36000;
    double 歩み = 0.05;
    std::string 日時() override { return "2026/12/08 10:00"; }
    double 現在秒() override {
        const double t = 今;
        今 += 歩み;
        if (今 >= 86400) 今 -= 86400;
        return t;
    }
    void 少し待つ() override {}
};

class 偽タイマー : public タイマー {
  public:
    bool 動作 = false;
    void 開始() override { 動作 = true; }
    void 停止() override { 動作 = false; }
    bool 動作中() const override { return 動作; }
};

// The check marks of the menu items; a name that is not an item with a check mark is a
// mistake in the caller.
class 偽メニュー : public メニュー {
  public:
    std::set<std::string, std::less<>> 印;
    std::set<std::string, std::less<>> 無効;
    bool チェック(std::string_view 名) const { return 印.count(名) > 0; }
    bool 有効(std::string_view 名) const { return 無効.count(名) == 0; }
    void 有効設定(std::string_view 名, bool 有効にする) override {
        if (操作を探す(名) == nullptr) {
            throw std::logic_error("no menu item: " + std::string(名));
        }
        if (有効にする) {
            無効.erase(std::string(名));
        } else {
            無効.emplace(名);
        }
    }
    void チェック設定(std::string_view 名, bool 付ける) override {
        const 操作項目* e = 操作を探す(名);
        if (e == nullptr || e->種類 != 項目種類::チェック) {
            throw std::logic_error("no menu item with a check mark: " + std::string(名));
        }
        if (付ける) {
            印.emplace(名);
        } else {
            印.erase(std::string(名));
        }
    }
};

class 記録サウンド : public サウンド {
  public:
    std::int32_t 次 = 1;
    bool 装置あり = true;
    std::vector<std::string> 呼出;
    std::map<std::int32_t, int> 再生回数;
    std::int32_t dsInitialize() override { return 装置あり ? 100 : 0; }
    std::int32_t dsCreateDSB(std::int32_t lib, const std::uint8_t*, std::size_t,
                             std::int32_t) override {
        return lib ? 次++ : 0;
    }
    void dsPlay(std::int32_t b) override {
        呼出.push_back("play " + std::to_string(b));
        if (b) ++再生回数[b];
    }
    void dsPlayLooping(std::int32_t b) override { 呼出.push_back("loop " + std::to_string(b)); }
    void dsStop(std::int32_t b) override { 呼出.push_back("stop " + std::to_string(b)); }
    void dsFree(std::int32_t b) override { 呼出.push_back("free " + std::to_string(b)); }
    void dsTerminate(std::int32_t l) override { 呼出.push_back("terminate " + std::to_string(l)); }
};

class メモリファイル : public ファイル系 {
  public:
    std::map<std::string, std::vector<std::uint8_t>> ファイル;
    std::set<std::string> 書込禁止;  // paths whose writes fail
    bool 存在(const std::string& p) override { return ファイル.count(p) > 0; }
    std::optional<std::vector<std::uint8_t>> 読む(const std::string& p, std::string& 誤り,
                                                  std::size_t 上限) override {
        auto it = ファイル.find(p);
        if (it == ファイル.end()) {
            誤り = "ファイルが見つかりません";
            return std::nullopt;
        }
        if (it->second.size() > 上限) {
            誤り = 読込文_大きすぎる;
            return std::nullopt;
        }
        return it->second;
    }
    ファイル結果 書く(const std::string& p, const std::vector<std::uint8_t>& 内容) override {
        if (書込禁止.count(p)) return {false, "書き込みが許可されていません"};
        ファイル[p] = 内容;
        return {true, ""};
    }
    std::string 文字列(const std::string& p) const {
        auto it = ファイル.find(p);
        return it == ファイル.end() ? "" : std::string(it->second.begin(), it->second.end());
    }
    void 置く(const std::string& p, const std::string& s) {
        ファイル[p] = std::vector<std::uint8_t>(s.begin(), s.end());
    }
};

// UTF-8 in, UTF-8 out: enough for the game's logic; the real CP932 codec is tested on its own.
class 素通し符号 : public 文字コード {
  public:
    std::optional<std::string> CP932から(const std::string& b) override { return b; }
    std::optional<std::string> CP932へ(const std::string& s) override { return s; }
};

class 偽パネル : public 棋譜パネル {
  public:
    bool ドライブ見 = false, フォルダ見 = false, ファイル見 = false, 入力見 = false;
    std::string 欄[5];
    std::string 今フォルダ = "/records";
    std::set<std::string> 開けないドライブ;
    int 更新回数 = 0;
    void 一覧表示(bool a, bool b, bool c) override {
        ドライブ見 = a;
        フォルダ見 = b;
        ファイル見 = c;
    }
    void 入力欄表示(bool v) override { 入力見 = v; }
    void 入力欄消去() override {
        for (auto& s : 欄) s.clear();
    }
    std::string 入力(int n) override { return n >= 1 && n <= 4 ? 欄[n] : ""; }
    std::string フォルダ() override { return 今フォルダ; }
    bool ドライブ設定(const std::string& d) override {
        if (開けないドライブ.count(d)) return false;
        今フォルダ = d;
        return true;
    }
    void ファイルフォルダ設定(const std::string& f) override { 今フォルダ = f; }
    void ファイル一覧更新() override { ++更新回数; }
};

// The game kept in memory; `保存回数` counts the writes, `書込失敗` makes them fail as on a
// full disk, and `脇へ` holds the kept games set aside.
class 偽自動保存 : public 自動保存先 {
  public:
    std::optional<std::vector<std::uint8_t>> 内容;
    int 保存回数 = 0;
    bool 書込失敗 = false;
    std::vector<std::vector<std::uint8_t>> 脇へ;
    std::optional<ファイル結果> 結果;
    std::function<void(const std::vector<std::uint8_t>&)> 保存時;
    void 保存(std::vector<std::uint8_t> b) override {
        ++保存回数;
        if (保存時) 保存時(b);
        結果 = 書込失敗 ? ファイル結果{false, "ディスクの空き容量が足りません"}
                        : ファイル結果{true, ""};
        if (!書込失敗) 内容 = std::move(b);
    }
    std::optional<std::vector<std::uint8_t>> 読込() override { return 内容; }
    void 消去() override { 内容.reset(); }
    std::optional<std::string> 脇へ移す() override {
        if (!内容) return std::nullopt;
        脇へ.push_back(*内容);
        内容.reset();
        return "/state/current-game.damaged";
    }
    std::optional<ファイル結果> 書込結果() override { return std::exchange(結果, std::nullopt); }
    std::string フォルダ() const override { return "/state"; }
};

// The searching player on the test's own thread: requests wait until 届ける() answers them, each
// by a real search to a small fixed depth (with the request's lines and the moves it allows each
// side), so that every run gives the same answers at once. A request that asks for lines gets
// them first, as answers not yet ended.
class 偽読み手 : public 読み依頼先 {
  public:
    struct 待ち {
        依頼者 誰;
        std::uint64_t 番号;
        読み依頼 依頼;
    };
    std::vector<待ち> 待ち一覧;
    std::vector<読み答え> 答え;
    int 止めた回数 = 0;
    std::uint64_t 依頼する(依頼者 誰, const 読み依頼& 依頼) override {
        取り消す(誰);
        待ち一覧.push_back({誰, ++番号_, 依頼});
        return 番号_;
    }
    void 取り消す(依頼者 誰) override {
        std::erase_if(待ち一覧, [誰](const 待ち& w) { return w.誰 == 誰; });
        std::erase_if(答え, [誰](const 読み答え& a) { return a.誰 == 誰; });
    }
    std::vector<読み答え> 答えを受け取る() override { return std::exchange(答え, {}); }
    void 全て止める() override {
        ++止めた回数;
        待ち一覧.clear();
        答え.clear();
    }
    // Answers every waiting request; false when none waited.
    bool 届ける() {
        if (待ち一覧.empty()) return false;
        if (!エンジン_) エンジン_ = std::make_unique<深読みエンジン>(1);
        for (const 待ち& w : 待ち一覧) {
            深読み設定 設定;
            設定.時間ms = 0;
            設定.深さ上限 = 2;
            設定.候補数 = w.依頼.設定.候補数;
            設定.範囲 = w.依頼.設定.範囲;
            設定.既出鍵 = w.依頼.既出鍵.data();
            設定.既出鍵数 = static_cast<int>(w.依頼.既出鍵.size());
            struct 筋を渡す : 深読み観察 {
                std::vector<読み答え>* 先 = nullptr;
                読み答え 型;
                void 読み筋(const 深読み読み筋& 筋) override {
                    型.筋 = 筋;
                    先->push_back(型);
                }
            } 観察;
            観察.先 = &答え;
            観察.型.誰 = w.誰;
            観察.型.番号 = w.番号;
            観察.型.終わり = false;
            読み答え a;
            a.誰 = w.誰;
            a.番号 = w.番号;
            a.結果 =
                エンジン_->探索(w.依頼.局, w.依頼.COM側, 設定, w.依頼.読み筋も ? &観察 : nullptr);
            答え.push_back(a);
        }
        待ち一覧.clear();
        return true;
    }

  private:
    std::unique_ptr<深読みエンジン> エンジン_;  // made at the first answer
    std::uint64_t 番号_ = 0;
};

class 偽ウィンドウ : public ウィンドウ {
  public:
    double 上 = 0;
    int 配置回数 = 0;
    bool 終了要求 = false;
    int 情報回数 = 0;
    double 上端() override { return 上; }
    void 配置(double, double 上辺, double, double) override {
        ++配置回数;
        上 = 上辺;
    }
    void 終了() override { 終了要求 = true; }
    void バージョン情報() override { ++情報回数; }
    int 遊び方回数 = 0;
    void 遊び方() override { ++遊び方回数; }
    int 描画回数 = 0;
    void 描画を進める() override { ++描画回数; }
};

// The panel 棋譜と形勢: keeps what it was given.
class 偽形勢 : public 棋譜と形勢 {
  public:
    bool 表示 = false;
    std::vector<一覧行> 行;
    int 選択 = -1;
    std::vector<形勢点> 点;
    std::string 講評;
    bool 検討 = false;
    std::string 検討文;
    std::string 写した;
    std::optional<std::string> 保存先;  // the answer to the save question
    bool 表示中() const override { return 表示; }
    void 表示設定(bool b) override { 表示 = b; }
    void 行を置く(const std::vector<一覧行>& r) override { 行 = r; }
    void 選択設定(int n) override { 選択 = n; }
    void 形勢を置く(const std::vector<形勢点>& p, bool) override { 点 = p; }
    void 講評を置く(const std::string& s) override { 講評 = s; }
    bool 検討中() const override { return 検討; }
    void 検討設定(bool b) override { 検討 = b; }
    void 検討を置く(const std::string& s) override { 検討文 = s; }
    void 文を写す(const std::string& s) override { 写した = s; }
    std::optional<std::string> 保存先を尋ねる(const std::string&) override { return 保存先; }
};

// Everything a Form1 needs, wired together, with the state it runs on; sound files exist in the
// fake working folder.
struct 偽環境 {
    記録キャンバス キャンバス面;
    台本メッセージ メッセージ;
    偽時計 時刻;
    偽タイマー Timer1;
    偽メニュー メニュー欄;
    記録サウンド サウンド源;
    メモリファイル ファイル;
    素通し符号 符号;
    偽パネル パネル;
    偽ウィンドウ 窓;
    偽自動保存 自動保存;
    偽読み手 読み;
    偽形勢 形勢;

    偽環境() {
        for (const char* f : {"その他.wav", "禁止.wav", "駒打音.wav", "BGM.wav"})
            ファイル.置く(f, "RIFF");
    }
    std::unique_ptr<対局状態> 状態 = std::make_unique<対局状態>();
    プラットフォーム 束() {
        return {キャンバス面, メッセージ, 時刻, Timer1,   メニュー欄, サウンド源, ファイル,
                符号,         パネル,     窓,   自動保存, 読み,       形勢};
    }
};

}  // namespace kiryuza::testing
