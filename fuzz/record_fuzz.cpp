// Fuzz target: the bytes of a whole record file through the reader. A file that reads must
// also write back and read again to the same record, so reader and writer agree on the format.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "fuzz_codec.h"
#include "record/record_file.h"

namespace {

using namespace kiryuza;

using fuzz::Codec;

bool 同じ行(const 棋譜行データ& a, const 棋譜行データ& b) {
    return std::memcmp(a.盤面, b.盤面, sizeof a.盤面) == 0 &&
           std::memcmp(a.持駒MAN, b.持駒MAN, sizeof a.持駒MAN) == 0 &&
           std::memcmp(a.持駒COM, b.持駒COM, sizeof a.持駒COM) == 0 && a.前秒M == b.前秒M &&
           a.後秒M == b.後秒M && a.前秒C == b.前秒C && a.後秒C == b.後秒C;
}

bool 同じ記録(const 読込棋譜& a, const 読込棋譜& b) {
    if (a.見出し.対局名 != b.見出し.対局名 || a.見出し.上手名 != b.見出し.上手名 ||
        a.見出し.下手名 != b.見出し.下手名 || a.記録数() != b.記録数()) {
        return false;
    }
    for (int i = 0; i < a.記録数(); ++i)
        if (!同じ行(a.手[i], b.手[i])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Codec 符号;
    static const auto 棋譜 = std::make_unique<棋譜表>();
    const std::string_view バイト列(reinterpret_cast<const char*>(data), size);

    const 棋譜読込結果 読 = 棋譜ファイルを解析(バイト列, "fuzz.棋譜", 符号);
    if (!読.成功) {
        // A refusal always explains itself and never hands out a partial record.
        if (読.誤り.empty() || 読.棋譜.記録数() != 0) std::abort();
        return 0;
    }
    if (読.棋譜.記録数() > 棋譜ファイル最大手数) std::abort();

    棋譜表へ移す(読.棋譜, *棋譜);
    if (棋譜->棋譜記録数() != 読.棋譜.記録数() || 棋譜->棋譜手数() != 0) std::abort();
    const 棋譜内容結果 書 = 棋譜ファイル内容を作る(*棋譜, 棋譜->棋譜記録数(), 読.棋譜.見出し, 符号);
    if (!書.成功) std::abort();
    const std::string_view 再(reinterpret_cast<const char*>(書.内容.data()), 書.内容.size());
    const 棋譜読込結果 再読 = 棋譜ファイルを解析(再, "fuzz.棋譜", 符号);
    if (!再読.成功 || !同じ記録(読.棋譜, 再読.棋譜)) std::abort();
    return 0;
}
