#include "platform/pictures/pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <utility>

#include "platform/pictures/drawing.h"
#include "rules/pieces.h"

namespace kiryuza::pictures {

namespace detail {

std::uint64_t Random::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Random::range(double lo, double hi) {
    const double unit = static_cast<double>(next() >> 11) * 0x1.0p-53;
    return lo + (hi - lo) * unit;
}

int Random::below(int n) {
    return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

QColor withAlpha(QColor c, double alpha) {
    c.setAlphaF(static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
    return c;
}

}  // namespace detail

namespace {

bool isTile(int code) {
    return code >= 背景_緑 && code <= 背景_煉瓦;
}

// Device pixel ratio made safe: positive, finite, within 0.5..8.
qreal saneRatio(qreal ratio) {
    if (!std::isfinite(ratio) || ratio <= 0) return 1.0;
    return std::clamp(ratio, 0.5, 8.0);
}

}  // namespace

bool hasPicture(int 絵コード) {
    // Far-out values first: negating them would overflow.
    if (絵コード < -駒_COM王 || 絵コード > 駒_COM王) return false;
    return 絵コード == 空桝 || 絵コード == 絵_タイトル || isTile(絵コード) ||
           盤上駒コード(絵コード);
}

QSize naturalSize(int 絵コード) {
    if (絵コード == 絵_タイトル) return {126, 39};
    if (isTile(絵コード)) return {40, 45};
    if (hasPicture(絵コード)) return {39, 44};
    return {};
}

namespace {

// Paints the picture as paint() does; a piece without the empty square under it when
// `onSurface` is false.
void paintPicture(QPainter& painter, int 絵コード, const QRectF& target, bool onSurface) {
    const QSize size = naturalSize(絵コード);
    if (size.isEmpty() || !target.isValid()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width(), target.height() / size.height());
    painter.setClipRect(QRectF(QPointF(0, 0), QSizeF(size)), Qt::IntersectClip);
    painter.setPen(Qt::NoPen);
    if (絵コード == 空桝)
        detail::drawBoardSurface(painter);
    else if (絵コード == 絵_タイトル)
        detail::drawTitle(painter);
    else if (isTile(絵コード))
        detail::drawTile(painter, 絵コード);
    else
        detail::drawPiece(painter, 絵コード, onSurface);
    painter.restore();
}

// A natural size in device pixels at `ratio`, at least one pixel each way.
QSize pixelSize(QSize natural, qreal ratio) {
    return {std::max(1, qRound(natural.width() * ratio)),
            std::max(1, qRound(natural.height() * ratio))};
}

// An image keeps the engine that painted it, with the engine's buffers (tens of kilobytes), for
// as long as it lives: a picture that is kept is kept as a copy without it.
QImage withoutPainter(const QImage& painted) {
    return painted.copy();
}

// The empty square at a pixel size, drawn once per size: every piece picture starts as a copy
// of it, exactly as drawing the square under the piece would leave it.
QImage emptySquare(QSize pixels) {
    static std::mutex mutex;
    static std::map<std::pair<int, int>, QImage> squares;
    const std::pair<int, int> key{pixels.width(), pixels.height()};
    {
        std::lock_guard lock(mutex);
        if (auto it = squares.find(key); it != squares.end()) return it->second;
    }
    QImage square(pixels, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    {
        QPainter painter(&square);
        paintPicture(painter, 空桝, QRectF(QPointF(0, 0), QSizeF(pixels)), true);
    }
    std::lock_guard lock(mutex);
    if (squares.size() > 16) squares.clear();  // only reached with many view sizes
    return squares.emplace(key, withoutPainter(square)).first->second;
}

}  // namespace

void paint(QPainter& painter, int 絵コード, const QRectF& target) {
    paintPicture(painter, 絵コード, target, true);
}

QImage drawn(int 絵コード, QSize pixels) {
    const QRectF target(QPointF(0, 0), QSizeF(pixels));
    QImage image;
    if (盤上駒コード(絵コード) && !pixels.isEmpty()) {
        image = emptySquare(pixels);
        image.detach();
        QPainter painter(&image);
        paintPicture(painter, 絵コード, target, false);
    } else {
        image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(painter, 絵コード, target);
    }
    return withoutPainter(image);
}

std::future<std::vector<DrawnPicture>> drawAhead(std::vector<int> codes, qreal ratio) {
    const qreal r = saneRatio(ratio);
    const auto drawAll = [r](const std::vector<int>& some) {
        std::vector<DrawnPicture> pictures;
        for (int code : some) {
            const QSize size = naturalSize(code);
            if (!size.isEmpty()) pictures.push_back({code, drawn(code, pixelSize(size, r))});
        }
        return pictures;
    };
    // At 1x one thread has them ready before the window needs them. From 1.5x they cost over
    // twice as much and the window would wait: two threads share them, the pieces on one and
    // the rest (the title alone costs as much as half the pieces) on the other.
    if (r < 1.5) return std::async(std::launch::async, drawAll, std::move(codes));
    std::vector<int> pieces, others;
    for (int code : codes) (盤上駒コード(code) ? pieces : others).push_back(code);
    return std::async(std::launch::async,
                      [drawAll, pieces = std::move(pieces), others = std::move(others)] {
                          auto first = std::async(std::launch::async, drawAll, others);
                          std::vector<DrawnPicture> rest = drawAll(pieces);
                          std::vector<DrawnPicture> all = first.get();
                          all.insert(all.end(), std::make_move_iterator(rest.begin()),
                                     std::make_move_iterator(rest.end()));
                          return all;
                      });
}

QImage image(int 絵コード, qreal devicePixelRatio) {
    const QSize size = naturalSize(絵コード);
    // Without an application there are no fonts: nothing is drawn, so nothing is cached.
    if (size.isEmpty() || !QGuiApplication::instance()) return {};
    const qreal ratio = saneRatio(devicePixelRatio);
    const std::pair<int, int> key{絵コード, static_cast<int>(std::lround(ratio * 1000))};

    static std::mutex mutex;
    static std::map<std::pair<int, int>, QImage> cache;
    {
        std::lock_guard lock(mutex);
        if (auto it = cache.find(key); it != cache.end()) return it->second;
    }

    QImage result = drawn(絵コード, pixelSize(size, ratio));
    result.setDevicePixelRatio(ratio);

    std::lock_guard lock(mutex);
    if (cache.size() > 400) cache.clear();  // only reached with many distinct ratios
    cache.emplace(key, result);
    return result;
}

}  // namespace kiryuza::pictures
