// Form1's panel 棋譜と形勢: the move list that follows the game and puts any entry on the
// board, and the record copied or saved as text.
#include <algorithm>

#include "display/move_list.h"
#include "game/form1.h"

namespace kiryuza {

// The history of the game on the board. After 最初 the history still holds the game it
// dropped (a record can still be written from it), but no game is on the board: the panel then
// lists, reviews and copies the starting position alone.
const 棋譜表& Form1::盤の棋譜() const {
    if (s_.状況.手番 != 手番_なし || s_.棋譜.棋譜記録数() == 0) return s_.棋譜;
    開始局面だけ_.置き換える(&s_.棋譜.項目(0), 0, s_.棋譜.出自());
    return 開始局面だけ_;
}

// The side that made the game's first move moved first: ▲ in the list.
bool Form1::先手はCOM側() const {
    const 棋譜表& 棋譜 = 盤の棋譜();
    if (棋譜.棋譜記録数() >= 1) {
        if (const auto 手 = 一覧の手を求める(棋譜, 1, true)) return 手->COM側;
    }
    // No move yet: the lower side moves first unless a game began with the computer to move.
    return s_.状況.手番 != 手番_なし && s_.局.手番値COM == 手番_先手;
}

namespace {

// What each position of the review is given: a tenth of a second of the machine's time, shared
// by the threads that search it together, so that a game is reviewed in about ten seconds on
// one core and in less on more.
constexpr int 解析ms = 100;
constexpr int 最短解析ms = 25;
// The evaluations kept for positions seen: many games' worth, then forgotten at once.
constexpr std::size_t 評価表の上限 = 100000;

std::string 印の文(手の印 印) {
    return 印 == 手の印::悪手 ? "悪手" : 印 == 手の印::疑問手 ? "疑問手" : "";
}

講評印 画面の印(手の印 印) {
    return 印 == 手の印::悪手 ? 講評印::悪手 : 印 == 手の印::疑問手 ? 講評印::疑問手 : 講評印::なし;
}

// A score from ▲'s view as the summary writes it: "+350", "-120", or who mates.
std::string 評価の文(const 局面評価& e, bool 先手COM) {
    const int 先手から = 先手COM ? -e.MAN評価 : e.MAN評価;
    if (e.詰み || 詰みの評価(先手から)) return 先手から > 0 ? "▲の勝ち" : "△の勝ち";
    std::string 文;
    if (先手から > 0) 文 += '+';
    文 += std::to_string(先手から);
    return 文;
}

}  // namespace

// The keys of entries 0..棋譜記録数 with their side to move, as the review keeps them: with the
// sides held to a person's moves, so that an evaluation made for other players is not reused.
std::vector<std::uint64_t> Form1::局面の鍵一覧(bool 先手COM) const {
    const 棋譜表& 棋譜 = 盤の棋譜();
    std::vector<std::uint64_t> 鍵;
    鍵.reserve(static_cast<std::size_t>(棋譜.棋譜記録数()) + 1);
    const 両側の範囲 範囲 = 両側の手の範囲();
    局面 局;
    for (int n = 0; n <= 棋譜.棋譜記録数(); ++n) {
        棋譜の局面を写す(棋譜.項目(n), 局);
        鍵.push_back(局面の鍵(局, 手番はCOMか(n, 先手COM), 範囲));
    }
    return 鍵;
}

// Brings the panel in step with the game: the rows with the review's marks, the entry on the
// board, the graph and the summary; then asks for the next position the review lacks. Nothing
// is sent while the panel is hidden; showing it sends everything.
void Form1::一覧を合わせる() {
    auto& 形勢 = 環境_.形勢;
    if (!形勢.表示中()) {
        解析を進める({}, false);
        検討を合わせる();
        return;
    }
    const 棋譜表& 棋譜 = 盤の棋譜();
    const int N = 棋譜.棋譜記録数();
    const bool 先手COM = 先手はCOM側();
    const std::vector<std::uint64_t> 鍵 = 局面の鍵一覧(先手COM);
    std::vector<局面評価> 評価(static_cast<std::size_t>(N) + 1);
    for (int n = 0; n <= N; ++n) {
        const auto it = 評価表_.find(鍵[static_cast<std::size_t>(n)]);
        if (it != 評価表_.end()) 評価[static_cast<std::size_t>(n)] = it->second;
    }
    const 講評 r = 講評をまとめる(棋譜, 先手COM, 評価);

    const int ハンデ = s_.状況.ハンデ設定フラグ == 定数_ON || 棋譜.出自() == 棋譜の出自::ハンデ
                           ? s_.状況.ハンデレベル
                           : 0;
    std::vector<一覧行> 行;
    std::vector<形勢点> 点;
    行.reserve(static_cast<std::size_t>(N) + 1);
    点.reserve(static_cast<std::size_t>(N) + 1);
    for (int n = 0; n <= N; ++n) {
        const auto 手 = n > 0 ? 一覧の手を求める(棋譜, n, 先手COM) : std::nullopt;
        const 手の印 印 = n > 0 && n <= static_cast<int>(r.手.size())
                              ? r.手[static_cast<std::size_t>(n) - 1].印
                              : 手の印::なし;
        行.push_back({n > 0 ? std::to_string(n) : "", 一覧の文(棋譜, n, 先手COM, ハンデ),
                      手 ? 消費時間の文(手->秒) : "", 印の文(印)});
        const 局面評価& e = r.局面[static_cast<std::size_t>(n)];
        点.push_back({e.済み, e.済み ? 勝率(e.MAN評価) : 0.5, 画面の印(印)});
    }
    if (行 != 送った行_) {
        形勢.行を置く(行);
        送った行_ = std::move(行);
        送った選択_ = -1;
    }
    if (点 != 送った点_) {
        形勢.形勢を置く(点, !先手COM);
        送った点_ = std::move(点);
    }
    const int 今 = 棋譜.棋譜手数();
    const bool 選び直し = 今 != 送った選択_;
    if (選び直し) {
        送った選択_ = 今;
        形勢.選択設定(今);
    }
    const std::string 文 = 講評の文(r, 先手COM);
    if (文 != 送った講評_) {
        形勢.講評を置く(文);
        送った講評_ = 文;
    }
    // Choosing a marked move outlines what the searching player preferred, as a hint does.
    if (選び直し && 今 >= 1 && 今 <= static_cast<int>(r.手.size())) {
        const 手の講評& 手 = r.手[static_cast<std::size_t>(今) - 1];
        if (手.印 != 手の印::なし && 手.最善.有り) 最善手を示す(手);
    }
    // A game without moves has nothing to review. Positions whose game is over are judged
    // at once; the panel then shows them too.
    if (解析を進める(N > 0 ? 鍵 : std::vector<std::uint64_t>{}, 先手COM)) {
        一覧を合わせる();
        return;
    }
    検討を合わせる();
}

// The review's summary, and what it says of the move that led to the entry on the board.
std::string Form1::講評の文(const 講評& r, bool 先手COM) const {
    int 済み = 0;
    for (const 局面評価& e : r.局面) 済み += e.済み;
    // Built by appending: g++ 12 misreads a literal + std::to_string as an overlapping copy.
    std::string 文 = "講評　▲ 悪手";
    文 += std::to_string(r.先手.悪手);
    文 += "・疑問手";
    文 += std::to_string(r.先手.疑問手);
    文 += "　△ 悪手";
    文 += std::to_string(r.後手.悪手);
    文 += "・疑問手";
    文 += std::to_string(r.後手.疑問手);
    if (r.局面.size() > 1 && 済み < static_cast<int>(r.局面.size())) {
        文 += "（解析中 ";
        文 += std::to_string(済み);
        文 += "/";
        文 += std::to_string(r.局面.size());
        文 += "）";
    }
    const int 今 = s_.棋譜.棋譜手数();
    if (今 >= 1 && 今 <= static_cast<int>(r.手.size())) {
        const 手の講評& 手 = r.手[static_cast<std::size_t>(今) - 1];
        const 局面評価& 後 = r.局面[static_cast<std::size_t>(今)];
        if (後.済み) {
            文 += "\n";
            文 += std::to_string(今);
            文 += "手目の後の評価 ";
            文 += 評価の文(後, 先手COM);
        }
        if (手.印 != 手の印::なし && 手.最善.有り) {
            文 += "\n";
            文 += 印の文(手.印);
            文 += "。";
            文 += 最善手の文(手.最善, 手.先手);
            文 += " がまさる（";
            文 += 評価の文(r.局面[static_cast<std::size_t>(今) - 1], 先手COM);
            文 += "）";
        }
    }
    return 文;
}

// Outlines the origin and destination of the move the review preferred, in the hint's colour.
void Form1::最善手を示す(const 手の講評& 手) {
    const 最善手& m = 手.最善;
    画面_.描画_全桝輪郭();
    if (m.元X == 持駒列_MAN || m.元X == 持駒列_COM) {
        const 桝 元 = 持駒の位置(m.元X == 持駒列_COM, m.元X == 持駒列_COM ? m.元Y : m.元Y - 2);
        画面_.描画_桝輪郭(色_ヒント, 元.列, 元.行);
    } else {
        画面_.描画_桝輪郭(色_ヒント, m.元X, m.元Y);
    }
    画面_.描画_桝輪郭(色_ヒント, m.先X, m.先Y);
}

// Asks the searching player about the first position of the game the review lacks, one at a
// time; a question about a position the game no longer holds is dropped. With no keys (the
// panel hidden) nothing is asked. True when a position whose game is over was judged here.
bool Form1::解析を進める(const std::vector<std::uint64_t>& 鍵, bool 先手COM) {
    if (解析中の鍵_) {
        if (std::find(鍵.begin(), 鍵.end(), *解析中の鍵_) != 鍵.end()) return false;
        環境_.読み.取り消す(依頼者::解析);
        解析中の鍵_.reset();
    }
    bool 判定した = false;
    for (std::size_t n = 0; n < 鍵.size(); ++n) {
        if (評価表_.count(鍵[n]) != 0) continue;
        const 検討局面 対象 = 検討局面を作る(盤の棋譜(), static_cast<int>(n), 先手COM);
        if (対象.終局) {
            評価表_[鍵[n]] = 終局の評価(対象);
            判定した = true;
            continue;
        }
        読み依頼 依頼;
        依頼.局 = 対象.局;
        依頼.COM側 = 対象.COM側;
        依頼.設定.範囲 = 両側の手の範囲();
        依頼.既出鍵 = 対象.既出鍵;
        依頼.設定.時間ms = std::max(最短解析ms, 解析ms / std::max(1, 環境_.読み.スレッド数()));
        解析番号_ = 環境_.読み.依頼する(依頼者::解析, 依頼);
        解析中の鍵_ = 鍵[n];
        解析中COM側_ = 対象.COM側;
        return 判定した;
    }
    return 判定した;
}

// An answer of the review's queue: kept by its position, then the next position is asked for.
void Form1::解析の答え(const 読み答え& a) {
    if (!解析中の鍵_ || a.番号 != 解析番号_) return;
    if (評価表_.size() >= 評価表の上限) 評価表_.clear();
    評価表_[*解析中の鍵_] = 評価にする(a.結果, 解析中COM側_);
    解析中の鍵_.reset();
    一覧を合わせる();
}

void Form1::KIFU_LIST_Click() {
    環境_.形勢.表示設定(!環境_.形勢.表示中());
    形勢パネル_表示変化(環境_.形勢.表示中());
}

// The panel was shown or hidden, by the menu, its own close button or the window's memory.
void Form1::形勢パネル_表示変化(bool 表示) {
    環境_.メニュー欄.チェック設定(control::KIFU_LIST, 表示);
    送った行_.clear();
    送った点_.clear();
    送った講評_.clear();
    送った選択_ = -1;
    一覧を合わせる();
}

// Puts history entry n on the board as stepping there with 戻 and 進 would: the position,
// both hands, the clocks as they stood, each side's last move; the game waits to be resumed.
void Form1::棋譜一覧_選択(int n) {
    auto& 状況 = s_.状況;
    auto& 棋譜 = s_.棋譜;
    if (n == 棋譜.棋譜手数() || n < 0 || n > 盤の棋譜().棋譜記録数()) return;
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

void Form1::検討_切替() {
    検討中_ = !検討中_;
    環境_.形勢.検討設定(検討中_);
    検討を合わせる();
}

// 検討 analyses the entry on the board while it is on and the panel shown, except while the
// computer has the move in a game; another entry on the board starts it afresh.
void Form1::検討を合わせる() {
    const auto& 状況 = s_.状況;
    // In a game going on, not while its history is stepped through.
    const bool COMの番 =
        対局中() && 状況.対局モード == 対局モード_COM && 状況.手番 == s_.局.手番値COM;
    const bool 読む = 検討中_ && 環境_.形勢.表示中() && !COM思考中_ && !COMの番;
    const bool COM側 = 盤の棋譜().棋譜記録数() >= 1 ? 手番はCOMか(s_.棋譜.棋譜手数(), 先手はCOM側())
                                                    : 状況.手番 == s_.局.手番値COM;
    const 両側の範囲 範囲 = 両側の手の範囲();
    const std::uint64_t 鍵 = 局面の鍵(s_.局, COM側, 範囲);
    if (読む && 検討中の鍵_ == 鍵) return;
    if (検討中の鍵_) {
        環境_.読み.取り消す(依頼者::検討);
        検討中の鍵_.reset();
    }
    検討の筋_.clear();
    if (!読む) {
        環境_.形勢.検討を置く(
            検討中_ && (COMの番 || COM思考中_) ? "コンピュータの番のあいだは休みます" : "");
        return;
    }
    読み依頼 依頼;
    依頼.局 = s_.局;
    依頼.COM側 = COM側;
    依頼.設定.時間ms = 0;
    依頼.設定.候補数 = 3;
    依頼.設定.範囲 = 範囲;
    依頼.読み筋も = true;
    依頼.既出鍵 = 既出の鍵(COM側);
    検討番号_ = 環境_.読み.依頼する(依頼者::検討, 依頼);
    検討中の鍵_ = 鍵;
    検討中COM側_ = COM側;
    環境_.形勢.検討を置く("検討中…");
}

// A line of 検討's search: the best lines of the deepest iteration, with their scores from ▲'s
// view, written as the move list writes moves.
void Form1::検討の答え(const 読み答え& a) {
    if (!検討中の鍵_ || a.番号 != 検討番号_ || a.終わり) return;
    const 深読み読み筋& 筋 = a.筋;
    if (筋.番号 < 1 || 筋.番号 > 3) return;
    if (!検討の筋_.empty() && 筋.深さ > 検討の筋_.front().深さ && 筋.番号 == 1) 検討の筋_.clear();
    if (検討の筋_.size() < static_cast<std::size_t>(筋.番号))
        検討の筋_.resize(static_cast<std::size_t>(筋.番号));
    検討の筋_[static_cast<std::size_t>(筋.番号) - 1] = 筋;
    const bool 先手COM = 先手はCOM側();
    const bool 手番が先手 = 検討中COM側_ == 先手COM;
    std::string 文 = "深さ ";
    文 += std::to_string(検討の筋_.front().深さ);
    for (const 深読み読み筋& b : 検討の筋_) {
        if (b.手数 == 0) continue;
        const int 先手から = 手番が先手 ? b.評価 : -b.評価;
        文 += "\n";
        文 += std::to_string(b.番号);
        文 += ". ";
        if (詰みの評価(先手から)) {
            文 += 先手から > 0 ? "▲勝ち" : "△勝ち";
        } else {
            if (先手から > 0) 文 += '+';
            文 += std::to_string(先手から);
        }
        const int 手数 = std::min(b.手数, 6);
        for (int i = 0; i < 手数; ++i) {
            文 += ' ';
            文 += 最善手の文(b.手[i], (i % 2 == 0) == 手番が先手);
        }
    }
    環境_.形勢.検討を置く(文);
}

// The game as record text: the sides named as the game knows them (the titles of a record
// loaded), the handicap, and how the game ended.
std::string Form1::棋譜の文にする() const {
    const 棋譜表& 棋譜 = 盤の棋譜();
    const auto& 見 = s_.状況.見出し;
    const bool 先手COM = 記録上の側(棋譜, true) == 記録の側::先手;
    std::string 上 = 見.上手名;
    std::string 下 = 見.下手名;
    if (上.empty() && 下.empty()) {
        const bool COM対局 = s_.状況.対局モード == 対局モード_COM;
        上 = COM対局 ? "コンピュータ（ﾚﾍﾞﾙ" + std::to_string(s_.状況.COMレベル) + "）"
                     : (先手COM ? "先手" : "後手");
        下 = COM対局 ? "あなた" : (先手COM ? "後手" : "先手");
    }
    棋譜文の見出し 見出し;
    見出し.開始日時 = 対局開始日時_.empty() ? 環境_.時刻.日時() : 対局開始日時_;
    見出し.先手名 = 先手COM ? 上 : 下;
    見出し.後手名 = 先手COM ? 下 : 上;
    見出し.表題 = 見.対局名;
    const int ハンデ = s_.状況.ハンデレベル;
    if (ハンデ != 0 && (s_.状況.ハンデ設定フラグ == 定数_ON || 棋譜.出自() == 棋譜の出自::ハンデ)) {
        見出し.駒落ち枚数 = std::abs(ハンデ);
        見出し.駒を落とす側 = 記録上の側(棋譜, ハンデ > 0);
    }
    const 局面& 局 = s_.局;
    if (局.勝者 != 手番_なし) {
        見出し.勝者 = 記録上の側(棋譜, 局.勝者 == 局.手番値COM);
        if (!王がいる(局, 駒_MAN王) || !王がいる(局, 駒_COM王)) {
            見出し.終局 = 終局の理由::王を取った;
        } else {
            見出し.終局 = 終局理由_ == 終局の理由::対局中 ? 終局の理由::詰み : 終局理由_;
        }
    }
    return 棋譜の文(棋譜, 見出し);
}

// Puts the record text on the clipboard; a game without moves is not copied, and the player
// is told so (the clipboard keeps what it held).
void Form1::棋譜をコピー_Click() {
    if (盤の棋譜().棋譜記録数() < 1) {
        音_.鳴らす_禁止();
        告知("コピーする指し手がありません", "棋譜をコピー");
        return;
    }
    環境_.形勢.文を写す(棋譜の文にする());
}

// Saves the record text to a file the player names; the fixed-width record stays as it is.
void Form1::棋譜を文で保存_Click() {
    if (盤の棋譜().棋譜記録数() < 1) {
        音_.鳴らす_禁止();
        告知("保存するデータがありません", "棋譜保存");
        return;
    }
    std::string 名 = 環境_.時刻.日時();
    for (char& c : 名)
        if (c == '/' || c == ' ' || c == ':') c = '-';
    const std::optional<std::string> パス = 環境_.形勢.保存先を尋ねる("kiryuza-" + 名 + ".kif");
    if (!パス) return;
    const std::string 文 = 棋譜の文にする();
    const ファイル結果 r =
        環境_.ファイル.書く(*パス, std::vector<std::uint8_t>(文.begin(), 文.end()));
    if (!r.成功) {
        音_.鳴らす_禁止();
        告知("棋譜を保存できませんでした。\n" + r.誤り, "棋譜保存");
        return;
    }
    // The game is saved: replacing it needs no question now.
    保存時の棋譜_ = std::make_unique<棋譜表>(s_.棋譜);
    告知("棋譜を保存しました", "棋譜保存");
}

}  // namespace kiryuza
