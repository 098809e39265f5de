// A Form1 on the fake platform, started up, with helpers to click cells and set positions.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "support/board_picture.h"
#include "support/fake_platform.h"

namespace kiryuza::testing {

class Form1テスト : public ::testing::Test {
  protected:
    偽環境 環;
    std::unique_ptr<Form1> form;

    void SetUp() override {
        *環.状態 = 対局状態{};
        form = std::make_unique<Form1>(環.束(), *環.状態);
        form->Form_Load();
    }

    // Handles of the sounds: the fake library numbers them in load order.
    static constexpr std::int32_t 音_その他 = 1;
    static constexpr std::int32_t 音_禁止 = 2;
    static constexpr std::int32_t 音_駒打 = 3;
    static constexpr std::int32_t 音_BGM = 4;

    // Answers what the searching player was asked, as the window does when it has answers.
    void 読みを届ける() {
        if (環.読み.届ける()) form->読み_完了();
    }

    // Clicks the centre of cell (x, y).
    void 押す(int x, int y) {
        form->Form_MouseDown(1, 0, 1050 + 570.0 * x + 285, 100 + 660.0 * y + 330);
    }
    const 対局状態& s() const { return *環.状態; }
    対局状態& 状態を変える() { return *環.状態; }
    int 盤(int x, int y) const { return s().局.盤面[x][y]; }
    int 鳴った(std::int32_t 音) { return 環.サウンド源.再生回数[音]; }

    // Replaces the board (hands are kept) and refreshes the kings' squares.
    void 局面にする(const std::array<std::string_view, 9>& 行) {
        auto& 局 = 状態を変える().局;
        盤図(局, 行);
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) {
                if (局.盤面[x][y] == 駒_MAN王) {
                    局.王位置X_MAN = x;
                    局.王位置Y_MAN = y;
                }
                if (局.盤面[x][y] == 駒_COM王) {
                    局.王位置X_COM = x;
                    局.王位置Y_COM = y;
                }
            }
    }
    void 持駒を置く(bool COM側, int k, int n) {
        auto& 局 = 状態を変える().局;
        (COM側 ? 局.持駒COM : 局.持駒MAN)[k] = n;
        int 計 = 0;
        for (int i = 1; i <= 7; ++i) 計 += (COM側 ? 局.持駒COM : 局.持駒MAN)[i];
        (COM側 ? 局.持駒総数COM : 局.持駒総数MAN) = 計;
    }
};

}  // namespace kiryuza::testing
