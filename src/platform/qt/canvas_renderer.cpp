#include "platform/qt/canvas_renderer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "display/geometry.h"
#include "platform/pictures/pictures.h"

namespace kiryuza::window {

namespace {

// More distinct pictures than any screen needs; beyond it the cache starts again.
constexpr std::size_t kPictureCacheLimit = 512;

}  // namespace

QColor paletteColour(int index) {
    static const std::array<QColor, 16> palette{{
        {0, 0, 0},
        {0, 0, 128},
        {0, 128, 0},
        {0, 128, 128},
        {128, 0, 0},
        {128, 0, 128},
        {128, 128, 0},
        {192, 192, 192},
        {128, 128, 128},
        {0, 0, 255},
        {0, 255, 0},
        {0, 255, 255},
        {255, 0, 0},
        {255, 0, 255},
        {255, 255, 0},
        {255, 255, 255},
    }};
    if (index < 0 || index >= static_cast<int>(palette.size())) return palette[0];
    return palette[static_cast<std::size_t>(index)];
}

void CanvasRenderer::setGeometry(const ViewGeometry& geometry) {
    if (geometry.scale != geometry_.scale) pictures_.clear();
    geometry_ = geometry;
}

QImage CanvasRenderer::render(const RetainedCanvas& canvas) {
    if (!geometry_.isValid()) return {};
    QImage image(geometry_.devicePixels, QImage::Format_RGB32);
    QPainter painter(&image);
    paintArea(painter, canvas, QRect(QPoint(0, 0), geometry_.devicePixels));
    return image;
}

void CanvasRenderer::paintArea(QPainter& painter, const RetainedCanvas& canvas, const QRect& area) {
    if (!geometry_.isValid() || area.isEmpty()) return;
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    paintMargins(painter, canvas.marginTile());
    for (const DrawCommand& command : canvas.commands())
        if (deviceBounds(command).intersects(area)) paint(painter, command);
    painter.restore();
}

void CanvasRenderer::paintMargins(QPainter& painter, int tile) {
    const QRect all(QPoint(0, 0), geometry_.devicePixels);
    const QRect canvas = geometry_.canvasRect();
    painter.fillRect(all, kMarginColour);
    painter.fillRect(canvas, Qt::black);
    if (tile == 0 || canvas.contains(all)) return;

    // The current background repeated on the board's grid all around, so the canvas seems
    // to continue into the margins.
    painter.save();
    painter.setClipRegion(QRegion(all) - QRegion(canvas), Qt::IntersectClip);
    const QPointF topLeft = geometry_.deviceToTwips(QPointF(0, 0));
    const QPointF bottomRight = geometry_.deviceToTwips(QPointF(all.bottomRight()) + QPointF(1, 1));
    const QSize natural = pictures::naturalSize(tile);
    const double tileW = natural.width() * kTwipsPerNaturalPixel;
    const double tileH = natural.height() * kTwipsPerNaturalPixel;
    const int x0 = static_cast<int>(std::floor((topLeft.x() - 盤原点X - tileW) / 桝幅));
    const int x1 = static_cast<int>(std::ceil((bottomRight.x() - 盤原点X) / 桝幅));
    const int y0 = static_cast<int>(std::floor((topLeft.y() - 盤原点Y - tileH) / 桝高));
    const int y1 = static_cast<int>(std::ceil((bottomRight.y() - 盤原点Y) / 桝高));
    const QRegion margins = QRegion(all) - QRegion(canvas);
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) {
            const QRect target = geometry_.snap(QRectF(格子X(x), 格子Y(y), tileW, tileH));
            if (margins.intersects(target)) paintPicture(painter, tile, target);
        }
    painter.restore();
}

void CanvasRenderer::paint(QPainter& painter, const DrawCommand& command) {
    switch (command.kind) {
        case DrawCommand::Kind::Picture:
            paintPicture(painter, command.code, geometry_.snap(command.rect));
            break;
        case DrawCommand::Kind::Outline: {
            // Whole device pixels, the line one logical pixel thick, its far side just past
            // the rectangle as a one-pixel box drawn from corner to corner has it.
            const QRect r = geometry_.snap(command.rect);
            const int line = std::max(1, static_cast<int>(std::lround(geometry_.devicePixelRatio)));
            const QColor colour = paletteColour(command.code);
            const int w = r.width() + line, h = r.height() + line;
            painter.fillRect(QRect(r.left(), r.top(), w, line), colour);
            painter.fillRect(QRect(r.left(), r.top() + r.height(), w, line), colour);
            painter.fillRect(QRect(r.left(), r.top(), line, h), colour);
            painter.fillRect(QRect(r.left() + r.width(), r.top(), line, h), colour);
            break;
        }
        case DrawCommand::Kind::Text: {
            // Points are relative to 1440 twips per inch: 12 points are 240 twips tall. The
            // size is set in points of the painter's device, whose user space is its pixels.
            // Greyscale antialiasing in a window too, as in an image.
            QFont font = pictures::minchoFont(command.points);
            const double pixels = std::max(0.5, command.points * 20 * geometry_.scale);
            font.setPointSizeF(pixels * 72.0 / painter.device()->logicalDpiY());
            font.setStyleStrategy(QFont::NoSubpixelAntialias);
            painter.setFont(font);
            painter.setPen(paletteColour(command.code));
            const QFontMetricsF metrics(font, painter.device());
            const QPointF corner = geometry_.twipsToDevice(command.rect.topLeft());
            painter.drawText(QPointF(corner.x(), corner.y() + metrics.ascent()), command.text);
            break;
        }
        case DrawCommand::Kind::Fill:
            painter.fillRect(geometry_.canvasRect(), paletteColour(command.code));
            break;
    }
}

QRect CanvasRenderer::deviceBounds(const DrawCommand& command) const {
    return geometry_.snap(QRectF(command.bounds)).adjusted(-1, -1, 2, 2);
}

void CanvasRenderer::paintPicture(QPainter& painter, int code, const QRect& target) {
    if (target.isEmpty()) return;
    painter.drawImage(target.topLeft(), picture(code, target.size()));
}

const QImage& CanvasRenderer::picture(int code, QSize size) {
    const auto key = std::make_tuple(code, size.width(), size.height());
    if (auto it = pictures_.find(key); it != pictures_.end()) return it->second;
    if (pictures_.size() >= kPictureCacheLimit) pictures_.clear();
    return pictures_.emplace(key, pictures::drawn(code, size)).first->second;
}

void CanvasRenderer::adopt(std::vector<pictures::DrawnPicture> drawn) {
    for (pictures::DrawnPicture& p : drawn) {
        if (pictures_.size() >= kPictureCacheLimit) break;
        const QSize size = p.image.size();
        pictures_.try_emplace(std::make_tuple(p.code, size.width(), size.height()),
                              std::move(p.image));
    }
}

}  // namespace kiryuza::window
