#include "platform/qt/board_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace kiryuza::window {

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(160, 120);
}

QSize BoardView::sizeHint() const {
    return QSize(static_cast<int>(画面幅 / kTwipsPerNaturalPixel),
                 static_cast<int>(画面高 / kTwipsPerNaturalPixel));
}

ViewGeometry BoardView::viewGeometry() const {
    return ViewGeometry::fit(QSizeF(size()), devicePixelRatioF());
}

void BoardView::絵(int 絵コード, double X, double Y) {
    if (canvas_.addPicture(絵コード, X, Y)) added();
}

void BoardView::枠(int 色, double X, double Y, double 幅, double 高さ) {
    if (canvas_.addOutline(色, X, Y, 幅, 高さ)) added();
}

void BoardView::文字(double X, double Y, const std::string& 文, int 色, double ポイント) {
    const QString text = QString::fromUtf8(文.data(), static_cast<qsizetype>(文.size()));
    if (canvas_.addText(X, Y, text, 色, ポイント)) added();
}

void BoardView::背景色(int 色) {
    canvas_.addFill(色);
    added();
}

void BoardView::added() {
    // A new background tile changes the margins too: everything is painted again.
    if (canvas_.marginTile() != shownMarginTile_ || renderer_.geometry() != viewGeometry()) {
        shownMarginTile_ = canvas_.marginTile();
        dirty_ = QRect(QPoint(0, 0), viewGeometry().devicePixels);
        update();
        return;
    }
    const QRect changed = renderer_.deviceBounds(canvas_.last());
    dirty_ |= changed;
    const double ratio = renderer_.geometry().devicePixelRatio;
    update(
        QRectF(QPointF(changed.topLeft()) / ratio, QSizeF(changed.size()) / ratio).toAlignedRect());
}

bool BoardView::prepare() {
    const ViewGeometry geometry = viewGeometry();
    if (!geometry.isValid()) return false;
    if (geometry != renderer_.geometry()) {
        renderer_.setGeometry(geometry);
        if (drawnAhead_.valid()) renderer_.adopt(drawnAhead_.get());
    }
    return true;
}

void BoardView::更新() {
    if (!isVisible() || dirty_.isEmpty()) return;
    // repaint() paints before returning, so the picture changes even while the game is busy
    // inside one long event handler.
    const double ratio = viewGeometry().devicePixelRatio;
    const QRect logical = QRectF(QPointF(dirty_.topLeft()) / ratio, QSizeF(dirty_.size()) / ratio)
                              .toAlignedRect()
                              .intersected(rect());
    repaint(logical);
}

QImage BoardView::backBuffer() {
    if (!prepare()) return {};
    return renderer_.render(canvas_);
}

void BoardView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (!prepare()) {
        painter.fillRect(event->rect(), kMarginColour);
        return;
    }
    // User space in device pixels, so that pictures land 1:1 on the window's pixels.
    const double ratio = renderer_.geometry().devicePixelRatio;
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    const QRectF exposed = QRectF(event->rect());
    const QRect area = QRectF(exposed.topLeft() * ratio, exposed.size() * ratio).toAlignedRect();
    renderer_.paintArea(painter, canvas_, area);
    if (area.contains(dirty_)) dirty_ = QRect();
}

void BoardView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit geometryChanged();
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    if (!onMouse_) return;
    int button = 0;
    switch (event->button()) {
        case Qt::LeftButton:
            button = 1;
            break;
        case Qt::RightButton:
            button = 2;
            break;
        case Qt::MiddleButton:
            button = 4;
            break;
        default:
            break;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int shift = (modifiers & Qt::ShiftModifier ? 1 : 0) |
                      (modifiers & Qt::ControlModifier ? 2 : 0) |
                      (modifiers & Qt::AltModifier ? 4 : 0);
    const QPointF twips = viewGeometry().logicalToTwips(event->position());
    onMouse_(button, shift, twips.x(), twips.y());
}

void BoardView::keyPressEvent(QKeyEvent* event) {
    // Only keys typed on the board itself, not ones a text box of the record panel let pass.
    const QWidget* focus = QApplication::focusWidget();
    if (!onKey_ || (focus != nullptr && focus != this && isAncestorOf(focus))) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int arrow = event->key() == Qt::Key_Left    ? 37
                      : event->key() == Qt::Key_Up    ? 38
                      : event->key() == Qt::Key_Right ? 39
                      : event->key() == Qt::Key_Down  ? 40
                                                      : 0;
    if (arrow != 0 && onKeyDown_) {
        onKeyDown_(arrow);
        return;
    }
    int key = 0;
    switch (event->key()) {
        case Qt::Key_Escape:
            key = 27;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            key = 13;
            break;
        case Qt::Key_Backspace:
            key = 8;
            break;
        case Qt::Key_Tab:
            key = 9;
            break;
        default:
            if (!event->text().isEmpty()) key = event->text().at(0).unicode();
            break;
    }
    if (key == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    onKey_(key);
}

}  // namespace kiryuza::window
