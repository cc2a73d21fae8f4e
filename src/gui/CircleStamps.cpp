#include "gui/CircleStamps.h"

#include <QImage>
#include <QPainter>
#include <QRect>

#include "gui/QtPen.h"

namespace corvelt {

namespace {

std::vector<Pixel> drawOutline(int radius, int penWidth) {
    const int margin = penWidth + 2;
    const int centre = radius + margin;
    QImage image(2 * centre, 2 * centre, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(toQPen(Pen{Rgb{255, 255, 255}, penWidth, PenStyle::solid}));
        painter.setBrush(Qt::NoBrush);
        // Qt's one-pixel outline of a w x h rectangle covers w + 1 columns.
        painter.drawEllipse(
            QRect(centre - radius, centre - radius, 2 * radius - 1, 2 * radius - 1));
    }
    std::vector<Pixel> offsets;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(0, 0, 0)) offsets.push_back({x - centre, y - centre});
        }
    }
    return offsets;
}

}  // namespace

const std::vector<Pixel>& CircleStamps::outline(int radius, int penWidth) {
    for (const Stamp& stamp : stamps_) {
        if (stamp.radius == radius && stamp.penWidth == penWidth) return stamp.offsets;
    }
    stamps_.push_back({radius, penWidth, drawOutline(radius, penWidth)});
    return stamps_.back().offsets;
}

}  // namespace corvelt
