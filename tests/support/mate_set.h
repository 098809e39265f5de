// The set of mating positions made by tools/mate-set (tests/data/mate/mates.txt): one position
// a line, the attacker (COM, the upper side, or MAN), the plies of its shortest mate (0: no mate)
// and the position as a record line. Lines starting with '#' are comments.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "record/record_line.h"

namespace kiryuza::testing {

struct 詰み問題 {
    局面 局;
    bool COM側 = true;  // the attacker, who moves first
    int 手数 = 0;       // plies of the shortest mate; 0 when there is none
    int 行番号 = 0;
};

inline std::vector<詰み問題> 詰み問題集(const char* ファイル) {
    std::ifstream in(ファイル);
    if (!in) throw std::runtime_error(std::string("cannot read ") + ファイル);
    std::vector<詰み問題> 集;
    std::string s;
    for (int 行 = 1; std::getline(in, s); ++行) {
        if (s.empty() || s[0] == '#') continue;
        const auto 空白1 = s.find(' ');
        const auto 空白2 = s.find(' ', 空白1 + 1);
        if (空白1 == std::string::npos || 空白2 == std::string::npos)
            throw std::runtime_error("bad line " + std::to_string(行));
        詰み問題 p;
        p.COM側 = s.substr(0, 空白1) == "COM";
        p.手数 = std::stoi(s.substr(空白1 + 1, 空白2 - 空白1 - 1));
        p.行番号 = 行;
        const 行解析結果 r = 棋譜行を読む(std::string_view(s).substr(空白2 + 1));
        if (r.誤り != 行誤り::なし) throw std::runtime_error("bad position " + std::to_string(行));
        行を局面へ(r.データ, p.局);
        集.push_back(p);
    }
    return 集;
}

}  // namespace kiryuza::testing
