#include "options/sound.h"

#include <memory>
#include <utility>

namespace kiryuza {

音響::音響(サウンド& 音源, ファイル系& ファイル, メッセージ窓& 窓, std::string フォルダ)
    : 音源_(音源), ファイル_(ファイル), 窓_(窓), フォルダ_(std::move(フォルダ)) {}

void 音響::開始() {
    初期化();
    全読込();
}

void 音響::初期化() {
    ライブラリ = 音源_.dsInitialize();
    if (ライブラリ == 0) 窓_.表示(音文_初期化失敗, 音題_ライブラリ, ボタン種類::OK, true);
}

void 音響::全読込() {
    音_その他 = 読込("その他.wav", 音フラグ_効果音);
    音_禁止 = 読込("禁止.wav", 音フラグ_効果音);
    音_駒打 = 読込("駒打音.wav", 音フラグ_効果音);
    音_BGM = 読込("BGM.wav", 音フラグ_BGM);
}

std::int32_t 音響::読込(const std::string& ファイル名, std::int32_t フラグ) {
    const std::string パス = フォルダ_ + ファイル名;
    if (ライブラリ == 0 || !ファイル_.存在(パス)) return 0;
    std::string 誤り;
    // Opened, not read whole: the library reads what it keeps, and may leave a long sound in
    // its file until it plays.
    const std::shared_ptr<const 読み口> 口 = ファイル_.開く(パス, 誤り, 音ファイル最大バイト数);
    if (!口) {
        if (誤り.empty()) 誤り = ファイル名 + " を読み込めません。";
        窓_.表示(誤り, 音題_ライブラリ, ボタン種類::OK, true);
        return 0;
    }
    return 音源_.dsCreateDSBFromFile(ライブラリ, 口, フラグ);
}

void 音響::停止() {
    音源_.dsFree(音_その他);
    音源_.dsFree(音_禁止);
    音源_.dsFree(音_駒打);
    音源_.dsFree(音_BGM);
    if (ライブラリ != 0) 音源_.dsTerminate(ライブラリ);
    ライブラリ = 音_その他 = 音_禁止 = 音_駒打 = 音_BGM = 0;
}

}  // namespace kiryuza
