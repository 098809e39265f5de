// The codec the fuzz targets read text with: the real CP932 codec when Qt is built, else a
// stand-in that passes ASCII through and refuses every other byte.
#pragma once

#include <optional>
#include <string>

#include "interfaces/platform.h"
#if KIRYUZA_FUZZ_QT_CODEC
#include "platform/files/qt_text_codec.h"
#endif

namespace kiryuza::fuzz {

#if KIRYUZA_FUZZ_QT_CODEC
using Codec = QtTextCodec;
#else
class Codec : public 文字コード {
  public:
    std::optional<std::string> CP932から(const std::string& b) override { return ascii(b); }
    std::optional<std::string> CP932へ(const std::string& s) override { return ascii(s); }

  private:
    static std::optional<std::string> ascii(const std::string& s) {
        for (char c : s)
            if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
        return s;
    }
};
#endif

}  // namespace kiryuza::fuzz
