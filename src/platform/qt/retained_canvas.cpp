#include "platform/qt/retained_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <cmath>

#include "interfaces/canvas.h"
#include "platform/pictures/pictures.h"
#include "platform/qt/view_geometry.h"

namespace kiryuza::window {

namespace {

// Coordinates beyond this many twips (about 17 m) are treated as bad input.
constexpr double kFarAway = 1e6;
// How far past its right and bottom edge an outline may paint: its one-pixel line sits just
// beyond the rectangle, and rounding to device pixels can add a little more.
constexpr int kOutlineOverhang = 2 * static_cast<int>(kTwipsPerNaturalPixel);

bool usable(double v) {
    return std::isfinite(v) && std::abs(v) < kFarAway;
}

// The smallest whole-twip rectangle holding `r`.
QRect outward(const QRectF& r) {
    const int left = static_cast<int>(std::floor(r.left()));
    const int top = static_cast<int>(std::floor(r.top()));
    const int right = static_cast<int>(std::ceil(r.right()));
    const int bottom = static_cast<int>(std::ceil(r.bottom()));
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

// The largest whole-twip rectangle inside `r`.
QRect inward(const QRectF& r) {
    const int left = static_cast<int>(std::ceil(r.left()));
    const int top = static_cast<int>(std::ceil(r.top()));
    const int right = static_cast<int>(std::floor(r.right()));
    const int bottom = static_cast<int>(std::floor(r.bottom()));
    if (right <= left || bottom <= top) return {};
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

bool isTile(int code) {
    return code >= pictures::背景_緑 && code <= pictures::背景_煉瓦;
}

}  // namespace

bool RetainedCanvas::isOpaque(int code) {
    return pictures::hasPicture(code) && code != pictures::絵_タイトル;
}

QRectF RetainedCanvas::textExtent(const QString& text, double points) {
    // Measured on a 72 dpi device, so that a font of n points is n pixels: a font of
    // points * 20 "points" then measures in twips.
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(2835);
        image.setDotsPerMeterY(2835);
        return image;
    }();
    QFont font = pictures::minchoFont(points);
    font.setPointSizeF(points * 20);
    const QFontMetricsF metrics(font, &device);
    const double height = metrics.height();
    const double width = metrics.horizontalAdvance(text);
    // Glyphs start right of the point and below the line's top; on the right and below
    // there is room for bold strokes, antialiasing and advances rounded to whole pixels.
    const double pad = 0.05 * height + kOutlineOverhang;
    const double rounding = 10.0 * static_cast<double>(text.size());
    return QRectF(0, 0, width + pad + rounding, height + pad);
}

bool RetainedCanvas::addPicture(int code, double x, double y) {
    if (!pictures::hasPicture(code) || !usable(x) || !usable(y)) return false;
    const QSize natural = pictures::naturalSize(code);
    DrawCommand command;
    command.kind = DrawCommand::Kind::Picture;
    command.code = code;
    command.rect = QRectF(x, y, natural.width() * kTwipsPerNaturalPixel,
                          natural.height() * kTwipsPerNaturalPixel);
    command.bounds = outward(command.rect);
    if (isOpaque(code)) coverWith(inward(command.rect));
    if (isTile(code)) marginTile_ = code;
    append(std::move(command));
    return true;
}

bool RetainedCanvas::addOutline(int colour, double x, double y, double width, double height) {
    if (!usable(x) || !usable(y) || !usable(width) || !usable(height)) return false;
    DrawCommand command;
    command.kind = DrawCommand::Kind::Outline;
    command.code = colour;
    command.rect = QRectF(x, y, width, height).normalized();
    command.bounds = outward(command.rect).adjusted(0, 0, kOutlineOverhang, kOutlineOverhang);
    // A later outline of the same rectangle paints exactly the same pixels.
    for (std::size_t i = 0; i < bounds_.size(); ++i) {
        if (bounds_[i] != command.bounds) continue;
        const DrawCommand& c = commands_[i];
        if (c.kind == DrawCommand::Kind::Outline && c.rect == command.rect) hide(i);
    }
    append(std::move(command));
    return true;
}

bool RetainedCanvas::addText(double x, double y, const QString& text, int colour, double points) {
    if (text.isEmpty() || !usable(x) || !usable(y) || !std::isfinite(points) || points <= 0)
        return false;
    DrawCommand command;
    command.kind = DrawCommand::Kind::Text;
    command.code = colour;
    command.rect = QRectF(x, y, 0, 0);
    command.text = text;
    command.points = std::min(points, 400.0);
    command.bounds = outward(textExtent(text, command.points).translated(x, y));
    append(std::move(command));
    return true;
}

void RetainedCanvas::addFill(int colour) {
    DrawCommand command;
    command.kind = DrawCommand::Kind::Fill;
    command.code = colour;
    command.rect = QRectF(0, 0, 画面幅, 画面高);
    command.bounds = outward(command.rect);
    coverWith(command.bounds);
    append(std::move(command));
}

void RetainedCanvas::append(DrawCommand command) {
    command.uncovered = QRegion(command.bounds);
    bounds_.push_back(command.bounds);
    commands_.push_back(std::move(command));
}

void RetainedCanvas::hide(std::size_t index) {
    commands_[index].uncovered = QRegion();
    bounds_[index] = QRect();
    ++hidden_;
}

void RetainedCanvas::dropHidden() const {
    if (hidden_ == 0) return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < commands_.size(); ++i) {
        if (bounds_[i].isNull()) continue;
        if (kept != i) {
            commands_[kept] = std::move(commands_[i]);
            bounds_[kept] = bounds_[i];
        }
        ++kept;
    }
    commands_.resize(kept);
    bounds_.resize(kept);
    hidden_ = 0;
}

void RetainedCanvas::coverWith(const QRect& cover) {
    if (cover.isEmpty()) return;
    // Enough hidden commands slow the scan more than dropping them costs.
    if (hidden_ > 32 && 2 * hidden_ > commands_.size()) dropHidden();
    const int left = cover.left(), top = cover.top(), right = cover.right(),
              bottom = cover.bottom();
    for (std::size_t i = 0; i < bounds_.size(); ++i) {
        const QRect& bounds = bounds_[i];
        // The overlap test of QRect::intersects, inline: this loop runs for every command at
        // every opaque picture. A hidden command's null bounds meet nothing.
        if (bounds.isNull() || bounds.left() > right || bounds.right() < left ||
            bounds.top() > bottom || bounds.bottom() < top)
            continue;
        DrawCommand& c = commands_[i];
        // Most often a picture is drawn again over the very cell it covered: no region sums.
        if (cover.contains(bounds))
            hide(i);
        else if ((c.uncovered -= QRegion(cover)).isEmpty())
            hide(i);
    }
}

}  // namespace kiryuza::window
