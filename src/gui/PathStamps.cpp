#include "gui/PathStamps.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cstdlib>
#include <string_view>

#include "gui/QtPen.h"

namespace corvelt {

namespace {

// Drawn exactly as QtCanvas::drawPath draws a wide solid path, with the first
// corner at the middle of a black image.
std::vector<Pixel> drawPath(std::span<const Pixel> corners, bool closed, int penWidth) {
    const int centre = PathStamps::reach;
    QImage image(2 * centre + 1, 2 * centre + 1, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPolygon polygon;
    for (const Pixel corner : corners)
        polygon << QPoint(corner.x - corners[0].x + centre, corner.y - corners[0].y + centre);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(toQPen(Pen{Rgb{255, 255, 255}, penWidth, PenStyle::solid}));
        painter.setBrush(Qt::NoBrush);
        if (closed)
            painter.drawPolygon(polygon);
        else
            painter.drawPolyline(polygon);
    }
    std::vector<Pixel> offsets;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] != qRgb(0, 0, 0)) offsets.push_back({x - centre, y - centre});
    }
    return offsets;
}

}  // namespace

std::size_t PathStamps::ShapeHash::operator()(const Shape& shape) const {
    return std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(&shape), sizeof shape));
}

const std::vector<Pixel>* PathStamps::outline(std::span<const Pixel> corners, bool closed,
                                              int penWidth) {
    if (corners.size() < 2 || corners.size() > maxCorners || penWidth < 2 || penWidth > maxPenWidth)
        return nullptr;
    Shape shape;
    shape.corners = static_cast<std::int8_t>(corners.size());
    shape.penWidth = static_cast<std::int8_t>(penWidth);
    shape.closed = closed;
    for (std::size_t i = 1; i < corners.size(); ++i) {
        const std::int64_t dx = std::int64_t{corners[i].x} - corners[0].x;
        const std::int64_t dy = std::int64_t{corners[i].y} - corners[0].y;
        if (std::llabs(dx) > maxSpan || std::llabs(dy) > maxSpan) return nullptr;
        shape.offsets[2 * (i - 1)] = static_cast<std::int8_t>(dx);
        shape.offsets[2 * (i - 1) + 1] = static_cast<std::int8_t>(dy);
    }
    const auto found = stamps_.find(shape);
    if (found != stamps_.end()) return &found->second;
    if (stamps_.size() >= maxShapes) stamps_.clear();
    return &stamps_.emplace(shape, drawPath(corners, closed, penWidth)).first->second;
}

}  // namespace corvelt
