#include "gui/QtPen.h"

#include <algorithm>

namespace corvelt {

namespace {

constexpr qreal dashOn = 18;
constexpr qreal dashOff = 6;

}  // namespace

QPen toQPen(const Pen& pen) {
    const int width = std::max(pen.width, 1);
    QPen qpen(QColor(pen.colour.red, pen.colour.green, pen.colour.blue), width);
    if (width == 1) {
        qpen.setCosmetic(true);
        qpen.setCapStyle(Qt::FlatCap);
    } else {
        qpen.setCapStyle(Qt::RoundCap);
        qpen.setJoinStyle(Qt::RoundJoin);
    }
    // Qt measures dashes in pen widths.
    if (pen.style == PenStyle::dashed) qpen.setDashPattern({dashOn / width, dashOff / width});
    return qpen;
}

}  // namespace corvelt
