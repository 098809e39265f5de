// The drawing surface of the window. Coordinates are twips (1/1440 inch) from the top-left of
// the window's client area; the window keeps whatever was last painted until it is painted
// over. Colours are indices 0..15 of the classic 16-colour palette.
#pragma once

#include <string>

namespace kiryuza {

// Picture codes besides the piece codes (0 is the empty square).
inline constexpr int 絵_タイトル = 1;
inline constexpr int 背景_緑 = 2;
inline constexpr int 背景_畳 = 3;
inline constexpr int 背景_竹 = 4;
inline constexpr int 背景_宇宙 = 5;
inline constexpr int 背景_煉瓦 = 6;

// The client area the game draws into, in twips.
inline constexpr double 画面幅 = 9660;
inline constexpr double 画面高 = 7320;

class キャンバス {
  public:
    virtual ~キャンバス() = default;
    // Paints picture `絵コード` (a piece code, 0 empty square, 1 title, 2..6 background tiles)
    // at its natural size with its top-left corner at (X, Y). Codes without a picture paint
    // nothing.
    virtual void 絵(int 絵コード, double X, double Y) = 0;
    // A rectangle outline, one pixel wide, from (X, Y) to (X + 幅, Y + 高さ).
    virtual void 枠(int 色, double X, double Y, double 幅, double 高さ) = 0;
    // Text in the bold Mincho face at `ポイント` points, the top-left of its line at (X, Y).
    // Only the glyphs are painted.
    virtual void 文字(double X, double Y, const std::string& 文, int 色, double ポイント) = 0;
    // Fills the whole client area with a palette colour.
    virtual void 背景色(int 色) = 0;
    // Shows what has been painted so far at once (the game may be busy for a while).
    virtual void 更新() = 0;
};

}  // namespace kiryuza
