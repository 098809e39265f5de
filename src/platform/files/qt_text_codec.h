// CP932 (the Japanese Windows code page) through Qt's ICU-backed "windows-31j" converter.
#pragma once

#include <optional>
#include <string>

#include "interfaces/platform.h"

namespace kiryuza {

class QtTextCodec : public 文字コード {
  public:
    // Decodes statelessly, so invalid bytes and a truncated final character are both refused.
    std::optional<std::string> CP932から(const std::string& バイト列) override;

    // Folds U+301C, U+2016 and U+2212 to the characters CP932 holds for them (U+FF5E, U+2225,
    // U+FF0D) and refuses text that is not UTF-8 or holds a character CP932 lacks, including
    // characters the converter would only map to a look-alike.
    std::optional<std::string> CP932へ(const std::string& 文字列) override;
};

}  // namespace kiryuza
