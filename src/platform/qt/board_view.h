// The window's drawing surface: implements the game's canvas by painting the retained drawing
// commands straight into the window, only where they changed (the window keeps its picture
// between paints, so no copy of its own is kept), scaled to the view; and turns mouse presses
// and key presses into the game's twip coordinates and key codes.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>
#include <future>
#include <vector>

#include "platform/qt/canvas_renderer.h"
#include "platform/qt/interfaces.h"
#include "platform/qt/retained_canvas.h"
#include "platform/qt/view_geometry.h"

namespace kiryuza::window {

class BoardView : public QWidget, public CanvasInterface {
    Q_OBJECT

  public:
    // A mouse press: button (1 left, 2 right, 4 middle), shift state (1 Shift, 2 Ctrl,
    // 4 Alt) and the position in twips.
    using MouseHandler = std::function<void(int button, int shift, double x, double y)>;
    // A key press as a character code (27 for Esc, 13 for Enter, 8 for Backspace).
    using KeyHandler = std::function<void(int key)>;

    explicit BoardView(QWidget* parent = nullptr);

    void setMouseHandler(MouseHandler handler) { onMouse_ = std::move(handler); }
    void setKeyHandler(KeyHandler handler) { onKey_ = std::move(handler); }
    // The arrow keys, as the key codes 37 (←), 38 (↑), 39 (→), 40 (↓).
    void setKeyDownHandler(KeyHandler handler) { onKeyDown_ = std::move(handler); }

    // キャンバス
    void 絵(int 絵コード, double X, double Y) override;
    void 枠(int 色, double X, double Y, double 幅, double 高さ) override;
    void 文字(double X, double Y, const std::string& 文, int 色, double ポイント) override;
    void 背景色(int 色) override;
    void 更新() override;

    // The view's geometry at its current size and pixel ratio.
    ViewGeometry viewGeometry() const;
    const RetainedCanvas& canvas() const { return canvas_; }
    // The whole picture as the window shows it, rendered afresh (device pixels, for tests and
    // screenshots).
    QImage backBuffer();

    QSize sizeHint() const override;

    // Pictures being drawn ahead elsewhere: the first render waits for them and uses those
    // of the size it needs.
    void useDrawnAhead(std::future<std::vector<pictures::DrawnPicture>> pictures) {
        drawnAhead_ = std::move(pictures);
    }

  signals:
    // The view's size or pixel ratio changed; widgets placed in twips must move.
    void geometryChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Marks what a command just added to the canvas changes, for the next paint.
    void added();
    // Brings the renderer to the view's current geometry; false when there is nothing to show.
    bool prepare();

    RetainedCanvas canvas_;
    CanvasRenderer renderer_;
    int shownMarginTile_ = 0;
    QRect dirty_;  // device pixels changed since the last paint
    MouseHandler onMouse_;
    KeyHandler onKey_;
    KeyHandler onKeyDown_;
    std::future<std::vector<pictures::DrawnPicture>> drawnAhead_;
};

}  // namespace kiryuza::window
