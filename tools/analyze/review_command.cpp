// kiryuza-analyze --review: the review of a record file, one line per move.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "analyze.h"
#include "display/move_list.h"
#include "engine/review.h"
#include "iconv_codec.h"
#include "record/record_file.h"

namespace kiryuza {

namespace {

constexpr int 最多並列数 = 32;

// The bytes of the file, at most one more than a record may have; nothing (and why) when it
// cannot be read.
std::optional<std::string> ファイルの中身(const std::string& パス, std::string& 誤り) {
    std::FILE* f = std::fopen(パス.c_str(), "rb");
    if (f == nullptr) {
        誤り = std::strerror(errno);
        return std::nullopt;
    }
    std::string 中身;
    char 塊[65536];
    std::size_t n = 0;
    while (中身.size() <= 棋譜ファイル最大バイト数 && (n = std::fread(塊, 1, sizeof 塊, f)) > 0)
        中身.append(塊, n);
    const bool 失敗 = std::ferror(f) != 0;
    const int 番号 = errno;
    std::fclose(f);
    if (失敗) {
        誤り = std::strerror(番号);
        return std::nullopt;
    }
    if (中身.size() > 棋譜ファイル最大バイト数) {
        誤り = "larger than a record file can be (1 MiB)";
        return std::nullopt;
    }
    return 中身;
}

// An evaluation for ▲ as text, or "won" / "lost" once a king is taken.
std::string 評価の文(const 局面評価& e, bool 先手COM) {
    const int v = 先手COM ? -e.MAN評価 : e.MAN評価;
    if (e.終局) return v > 0 ? "won" : "lost";
    return kiryuza::評価の文(v);
}

// Columns a text takes in a terminal: two for a wide (three-byte) character, one for the rest and
// for ▲ and △, which most terminals draw narrow.
std::size_t 表示幅(const std::string& s) {
    std::size_t 幅 = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t 長さ = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        const bool 狭い = 長さ != 3 || s.compare(i, 3, "▲") == 0 || s.compare(i, 3, "△") == 0;
        幅 += 狭い ? 1 : 2;
        i += 長さ;
    }
    return 幅;
}

// `s` followed by spaces up to `幅` columns (at least one).
std::string 詰める(const std::string& s, std::size_t 幅) {
    const std::size_t w = 表示幅(s);
    return s + std::string(w < 幅 ? 幅 - w : 1, ' ');
}

const char* 印の文(手の印 印) {
    switch (印) {
        case 手の印::悪手:
            return "悪手";
        case 手の印::疑問手:
            return "疑問手";
        case 手の印::なし:
            break;
    }
    return "";
}

void 講評を出力(std::ostream& out, const 棋譜表& 棋譜, bool 先手COM, const 講評& r) {
    for (const 手の講評& 手 : r.手) {
        std::string 番号 = std::to_string(手.番号);
        std::string 行(番号.size() < 3 ? 3 - 番号.size() : 0, ' ');
        行 += 番号;
        行 += "  ";
        行 += 詰める(一覧の文(棋譜, 手.番号, 先手COM, 0), 20);
        const std::string 評価 = 評価の文(r.局面[static_cast<std::size_t>(手.番号)], 先手COM);
        行 += std::string(評価.size() < 8 ? 8 - 評価.size() : 0, ' ');
        行 += 評価;
        if (手.印 != 手の印::なし) {
            行 += "  ";
            行 += 詰める(印の文(手.印), 8);
            行 += "best ";
            行 += 最善手の文(手.最善, 手.先手);
            行 += "  ";
            行 += 評価の文(r.局面[static_cast<std::size_t>(手.番号) - 1], 先手COM);
        }
        out << 行 << '\n';
    }
    const auto 集計 = [&out](const char* 側, const 講評集計& c) {
        out << 側 << ": 悪手 " << c.悪手 << ", 疑問手 " << c.疑問手 << '\n';
    };
    集計("▲", r.先手);
    集計("△", r.後手);
}

// The moves each side may make in the review: a person's for the sides a person played, ▲
// being the upper side when it moved first.
両側の範囲 講評の範囲(人の手番 人, bool 先手COM) {
    const bool 先手が人 = 人 == 人の手番::先手 || 人 == 人の手番::両方;
    const bool 後手が人 = 人 == 人の手番::後手 || 人 == 人の手番::両方;
    const auto 範囲 = [](bool b) { return b ? 手の範囲::人の手 : 手の範囲::全て; };
    return {範囲(先手COM ? 後手が人 : 先手が人), 範囲(先手COM ? 先手が人 : 後手が人)};
}

}  // namespace

std::string 評価の文(int 評価) {
    if (詰みの評価(評価)) {
        const int 手数 = 詰みまでの手数(評価);
        std::string s = "mate ";
        s += 手数 > 0 ? "+" : "-";
        s += std::to_string(std::abs(手数));
        return s;
    }
    std::string s = 評価 > 0 ? "+" : "";
    s += std::to_string(評価);
    return s;
}

bool 棋譜講評(const std::string& パス, const 講評の条件& 条件, std::ostream& out,
              std::ostream& err) {
    std::string 誤り;
    const std::optional<std::string> 中身 = ファイルの中身(パス, 誤り);
    if (!中身) {
        err << "kiryuza-analyze: cannot read " << パス << ": " << 誤り << '\n';
        return false;
    }
    IconvCodec 符号;
    const 棋譜読込結果 読込 = 棋譜ファイルを解析(*中身, ファイル名部分(パス), 符号);
    if (!読込.成功) {
        err << "kiryuza-analyze: " << パス << " is not a record file:\n" << 読込.誤り << '\n';
        return false;
    }
    auto 棋譜 = std::make_unique<棋譜表>();
    棋譜表へ移す(読込.棋譜, *棋譜);
    const 棋譜見出し& 見出し = 読込.棋譜.見出し;
    if (!見出し.対局名.empty()) out << "# " << 見出し.対局名 << '\n';
    if (!見出し.上手名.empty()) out << "# 上手 " << 見出し.上手名 << '\n';
    if (!見出し.下手名.empty()) out << "# 下手 " << 見出し.下手名 << '\n';

    // One searching player of one thread per position searched at once: the review then takes
    // the time of the positions divided among the threads, each position searched as deeply.
    // Each player holds some 25 MB of tables, so there are at most 32.
    const int 並列数 = std::clamp(std::min(条件.スレッド数, 最多並列数), 1, 棋譜->棋譜記録数() + 1);
    std::vector<std::unique_ptr<深読みエンジン>> エンジン;
    for (int i = 0; i < 並列数; ++i) エンジン.push_back(std::make_unique<深読みエンジン>(16, 1));
    深読み設定 設定;
    設定.時間ms = 条件.時間ms;
    設定.深さ上限 = 条件.深さ上限;
    const bool 先手COM = 初手はCOMか(*棋譜);
    設定.範囲 = 講評の範囲(条件.人, 先手COM);
    const 講評 r = 棋譜を講評する(
        *棋譜, 先手COM,
        [&](const 検討局面& 対象, int 作業者) {
            return 深読みで評価する(*エンジン[static_cast<std::size_t>(作業者)], 対象, 設定);
        },
        並列数);
    講評を出力(out, *棋譜, 先手COM, r);
    return true;
}

}  // namespace kiryuza
