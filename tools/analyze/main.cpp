// kiryuza-analyze [--level N] [--candidates] < positions.txt
// kiryuza-analyze --selfplay SEED --moves N [--level N]
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "analyze.h"

namespace {

int 使い方() {
    std::cerr << "usage: kiryuza-analyze [--level N] [--candidates] < positions.txt\n"
                 "       kiryuza-analyze --selfplay SEED --moves N [--level N]\n";
    return 2;
}

bool 数値(const char* s, long long& v) {
    char* end = nullptr;
    v = std::strtoll(s, &end, 10);
    return end != s && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    long long レベル = 3;
    bool 候補 = false;
    bool 自己 = false;
    long long 種 = 0;
    long long 手数 = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool 値あり = i + 1 < argc;
        if (a == "--level" && 値あり) {
            if (!数値(argv[++i], レベル) || レベル < 1 || レベル > 3) return 使い方();
        } else if (a == "--candidates") {
            候補 = true;
        } else if (a == "--selfplay" && 値あり) {
            自己 = true;
            if (!数値(argv[++i], 種) || 種 < 0) return 使い方();
        } else if (a == "--moves" && 値あり) {
            if (!数値(argv[++i], 手数) || 手数 < 0) return 使い方();
        } else {
            return 使い方();
        }
    }
    std::ios::sync_with_stdio(false);
    if (自己) {
        if (手数 < 0 || 候補) return 使い方();
        kiryuza::自己対局(std::cout, static_cast<std::uint64_t>(種), static_cast<int>(手数),
                          static_cast<int>(レベル));
        return 0;
    }
    if (手数 >= 0) return 使い方();
    return kiryuza::局面解析(std::cin, std::cout, static_cast<int>(レベル), 候補) ? 0 : 1;
}
