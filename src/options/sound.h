// The program's side of the sound library: the library handle, the four sound buffers and the
// calls the game makes on them. Failures leave handles at 0, and every call on a 0 handle is
// silent, so the game simply runs without sound.
#pragma once

#include <cstdint>
#include <string>

#include "interfaces/platform.h"

namespace kiryuza {

// Load flags: effects may overlap themselves; the music has a single voice.
inline constexpr std::int32_t 音フラグ_効果音 = 3;
inline constexpr std::int32_t 音フラグ_BGM = 1;

// The largest sound file read: the music is a few megabytes.
inline constexpr std::size_t 音ファイル最大バイト数 = 64 * 1024 * 1024;

inline constexpr const char* 音題_ライブラリ = "Kiryuza.dll";
inline constexpr const char* 音文_初期化失敗 = "Direct Soundインターフェースが作成できません。";

class 音響 {
  public:
    // `フォルダ` is the folder of the WAV files, ending in '/'; empty for the working folder.
    音響(サウンド& 音源, ファイル系& ファイル, メッセージ窓& 窓, std::string フォルダ = {});

    // Start-up: starts the library, then loads the four sounds.
    void 開始();
    // Starts the library; when that fails, says so in a warning box.
    void 初期化();
    // Loads the sound files in their fixed order: その他, 禁止, 駒打音 (effects), BGM (music).
    void 全読込();
    // Opens a WAV file from the sound folder as a new buffer; 0 when there is no library, no
    // such file, a read error (shown in a warning box) or a file the library refuses.
    std::int32_t 読込(const std::string& ファイル名, std::int32_t フラグ);
    // Shut-down: frees the four buffers in the order その他, 禁止, 駒打, BGM, then ends the
    // library. Calling it twice is harmless.
    void 停止();

    // Plays a buffer once and returns at once.
    void 鳴らす(std::int32_t バッファ) { 音源_.dsPlay(バッファ); }
    // Plays a buffer over and over until it is stopped.
    void 繰り返す(std::int32_t バッファ) { 音源_.dsPlayLooping(バッファ); }
    void 止める(std::int32_t バッファ) { 音源_.dsStop(バッファ); }

    void 鳴らす_駒打() { 鳴らす(音_駒打); }
    void 鳴らす_禁止() { 鳴らす(音_禁止); }
    void 鳴らす_その他() { 鳴らす(音_その他); }
    void BGM開始() { 繰り返す(音_BGM); }
    void BGM停止() { 止める(音_BGM); }

    std::int32_t ライブラリ = 0;
    std::int32_t 音_駒打 = 0;
    std::int32_t 音_禁止 = 0;
    std::int32_t 音_その他 = 0;
    std::int32_t 音_BGM = 0;

  private:
    サウンド& 音源_;
    ファイル系& ファイル_;
    メッセージ窓& 窓_;
    std::string フォルダ_;
};

}  // namespace kiryuza
