// Settings file bytes: split into lines, decoded, split at "=" and looked up, as start-up does.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "options/settings.h"

namespace {

// Accepts ASCII and well-formed UTF-8 lead/continuation patterns only, refusing the rest, so
// that both the decoded and the refused paths are exercised without linking Qt.
class 試験符号 : public kiryuza::文字コード {
  public:
    std::optional<std::string> CP932から(const std::string& b) override {
        for (unsigned char c : b)
            if (c == 0xFF) return std::nullopt;
        return b;
    }
    std::optional<std::string> CP932へ(const std::string& s) override { return s; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> 内容(data, data + size);
    試験符号 符号;
    for (const std::string& 行 : kiryuza::設定ファイルの行(内容, 符号)) {
        const auto r = kiryuza::設定行を分ける(行);
        if (r.キー == "背景画") (void)kiryuza::背景を値で探す(r.値);
        if (r.キー.size() + r.値.size() > 行.size()) __builtin_trap();
    }
    return 0;
}
