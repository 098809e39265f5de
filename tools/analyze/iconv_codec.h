// The CP932 codec of the command-line tools, over the C library's iconv: the tools read and write
// record files without Qt. Where the C library has no CP932 converter, text is passed through as
// it is (a header then prints as raw bytes) and only ASCII can be written.
#pragma once

#include <optional>
#include <string>

#include "interfaces/platform.h"

namespace kiryuza {

class IconvCodec : public 文字コード {
  public:
    std::optional<std::string> CP932から(const std::string& バイト列) override;
    std::optional<std::string> CP932へ(const std::string& 文字列) override;
};

}  // namespace kiryuza
