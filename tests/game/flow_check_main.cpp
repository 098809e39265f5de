// game_flow_check [--actions N] [--seed S]: runs the game-flow checker and prints
// "actions: N, violations: V", then the first violations found. Exits 1 on any violation.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "game/flow_check.h"

int main(int argc, char** argv) {
    long 操作数 = 1000000;
    unsigned long long 種 = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--actions") == 0) {
            操作数 = std::atol(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--seed") == 0) {
            種 = std::strtoull(argv[i + 1], nullptr, 10);
        } else {
            std::cerr << "usage: game_flow_check [--actions N] [--seed S]\n";
            return 2;
        }
    }
    const auto r = kiryuza::testing::対局の流れを検査(種, 操作数);
    std::cout << "actions: " << r.操作数 << ", violations: " << r.違反数 << '\n';
    std::cout << "moves: " << r.指し手数 << ", games won: " << r.終局数 << ", saved: " << r.保存数
              << ", loaded: " << r.読込数 << ", longest history: " << r.最長手数
              << ", taken back after a crash: " << r.復元数 << ", resigned: " << r.投了数
              << ", out of time: " << r.時間切れ数 << ", advice checked: " << r.助言数
              << ", under a time control: " << r.時間制の操作数 << '\n';
    std::cout << "forms chosen: " << r.形を選んだ数 << " (kept as they were: " << r.形を保った数
              << "), moves dropped at the chooser: " << r.選択を取り消した数 << '\n';
    for (const std::string& v : r.違反) std::cout << v << '\n';
    return r.違反数 == 0 ? 0 : 1;
}
