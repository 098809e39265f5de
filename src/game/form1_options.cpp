// Form1's option handlers: the settings hold the options, the menus show them, the file keeps
// them.
#include "game/form1.h"

namespace kiryuza {

void Form1::OPTION_Click() {
    パネルを閉じる();
}

// Puts the check marks of the option menus in step with the settings.
void Form1::メニューを合わせる() {
    auto& m = 環境_.メニュー欄;
    for (const auto& e : 背景一覧) m.チェック設定(e.メニュー名, e.コード == s_.設定.背景種類);
    m.チェック設定(control::SIDOU, s_.設定.移動指導フラグ == 定数_ON);
    m.チェック設定(control::KEIKA, s_.設定.経過時間);
    m.チェック設定(control::BGM, s_.設定.BGM);
    m.チェック設定(control::NARI_FUNARI, 好み_.成不成を選ぶ);
    for (const auto& e : 持ち時間一覧) m.チェック設定(e.メニュー名, e.秒 == s_.時計.持ち時間秒);
    for (const auto& e : 秒読み一覧) m.チェック設定(e.メニュー名, e.秒 == s_.時計.秒読み秒);
}

void Form1::読込_環境設定ファイル() {
    const 設定読込結果 r =
        設定を読み込む(環境_.ファイル, 環境_.符号, 環境_.場所.設定ファイル, s_.設定);
    画面_.描画_背景(s_.設定.背景種類);
    メニューを合わせる();
    // With the defaults the music waits for the menu.
    if (s_.設定.BGM && !r.既定) 音_.BGM開始();
    if (!r.知らせ.empty()) 告知(r.知らせ, "ｵﾌﾟｼｮﾝ");
}

void Form1::書込_環境設定ファイル() {
    const auto 誤り = 設定を書き込む(環境_.ファイル, 環境_.符号, 環境_.場所.設定ファイル, s_.設定);
    // The player's choices stay in effect for this run; say once that they are not kept.
    if (誤り && !設定書込失敗中_) {
        告知("設定ファイル「" + std::string(設定ファイル名) +
                 "」に書き込めませんでした。\n選んだ設定は今回の対局中はそのまま使えますが、"
                 "次回の起動には引き継がれません。\n\n" +
                 *誤り,
             "ｵﾌﾟｼｮﾝ");
    }
    設定書込失敗中_ = 誤り.has_value();
}

void Form1::背景選択(int 背景) {
    s_.設定.背景種類 = 背景;
    メニューを合わせる();
    書込_環境設定ファイル();
    画面_.画面_再描画();
}

void Form1::MIDORI_Click() {
    背景選択(背景_緑);
}
void Form1::TATAMI_Click() {
    背景選択(背景_畳);
}
void Form1::TAKE_Click() {
    背景選択(背景_竹);
}
void Form1::UCHU_Click() {
    背景選択(背景_宇宙);
}
void Form1::RENGA_Click() {
    背景選択(背景_煉瓦);
}

void Form1::SIDOU_Click() {
    auto& 設定 = s_.設定;
    if (設定.移動指導フラグ == 定数_ON) {
        画面_.描画_全桝輪郭();  // wipes any guidance or pick
        設定.移動指導フラグ = 定数_OFF;
        設定.色_移動指導 = 色_桝線;
    } else {
        設定.移動指導フラグ = 定数_ON;
        設定.色_移動指導 = 色_白;
    }
    メニューを合わせる();
    書込_環境設定ファイル();
}

void Form1::KEIKA_Click() {
    auto& 設定 = s_.設定;
    if (設定.経過時間) {
        設定.経過時間 = false;
        // A clock counting down goes on ticking unseen while a game is played.
        if (!(持ち時間制() && s_.時計.走る側 != 時計の側::なし)) 環境_.Timer1.停止();
        画面_.消去_所有時間(s_.局.手番値MAN);
        画面_.消去_所有時間(s_.局.手番値COM);
    } else {
        設定.経過時間 = true;
        環境_.Timer1.開始();
        if (時計が進行中()) {
            時計を描く();
        } else {
            画面_.描画_所有時間(s_.局.手番値COM, s_.時計.累計秒COM);
            画面_.描画_所有時間(s_.局.手番値MAN, s_.時計.累計秒MAN);
        }
    }
    メニューを合わせる();
    書込_環境設定ファイル();
}

void Form1::BGM_Click() {
    s_.設定.BGM = !s_.設定.BGM;
    if (s_.設定.BGM) {
        音_.BGM開始();
    } else {
        音_.BGM停止();
    }
    メニューを合わせる();
    書込_環境設定ファイル();
}

// 成・不成を選ぶ: whether a person chooses the form of a move that may keep or change it; a move
// waiting for its form is dropped. The review and 検討 weigh the person's moves again.
void Form1::NARI_FUNARI_Click() {
    形の選択を取り消す();
    好み_.成不成を選ぶ = !好み_.成不成を選ぶ;
    メニューを合わせる();
    書込_好み();
    一覧を合わせる();
}

void Form1::VER_Click() {
    パネルを閉じる();
    音_.鳴らす_その他();
    環境_.窓.バージョン情報();
}

}  // namespace kiryuza
