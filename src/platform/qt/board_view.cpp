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
    // A new background tile changes the margins, which only a full render repaints.
    if (canvas_.marginTile() != bufferMarginTile_) bufferValid_ = false;
    if (bufferValid_) pending_.push_back(canvas_.commands().back());
    update();
}

void BoardView::flush() {
    const ViewGeometry geometry = viewGeometry();
    if (!geometry.isValid()) return;
    if (!bufferValid_ || geometry != renderer_.geometry()) {
        renderer_.setGeometry(geometry);
        if (drawnAhead_.valid()) renderer_.adopt(drawnAhead_.get());
        buffer_ = renderer_.render(canvas_);
        bufferValid_ = true;
        bufferMarginTile_ = canvas_.marginTile();
        pending_.clear();
        dirty_ = QRect(QPoint(0, 0), geometry.devicePixels);
        return;
    }
    if (pending_.empty()) return;
    QPainter painter(&buffer_);
    for (const DrawCommand& command : pending_) {
        renderer_.paint(painter, command);
        dirty_ |= renderer_.deviceBounds(command);
    }
    pending_.clear();
}

void BoardView::更新() {
    flush();
    if (!isVisible() || dirty_.isEmpty()) return;
    // repaint() paints before returning, so the picture changes even while the game is busy
    // inside one long event handler.
    const double ratio = renderer_.geometry().devicePixelRatio;
    const QRect logical = QRectF(QPointF(dirty_.topLeft()) / ratio, QSizeF(dirty_.size()) / ratio)
                              .toAlignedRect()
                              .intersected(rect());
    repaint(logical);
}

QImage BoardView::backBuffer() {
    flush();
    return buffer_;
}

void BoardView::paintEvent(QPaintEvent* event) {
    flush();
    dirty_ = QRect();
    QPainter painter(this);
    if (buffer_.isNull()) {
        painter.fillRect(event->rect(), kMarginColour);
        return;
    }
    // The buffer holds device pixels: map the exposed logical rectangle onto them 1:1.
    const double ratio = renderer_.geometry().devicePixelRatio;
    const QRectF target = QRectF(event->rect());
    const QRectF source(target.topLeft() * ratio, target.size() * ratio);
    painter.drawImage(target, buffer_, source);
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
