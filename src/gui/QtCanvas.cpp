#include "gui/QtCanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <array>
#include <stdexcept>

#include "gui/QtPen.h"
#include "gui/ThinLine.h"
#include "render/RowBandCanvas.h"

namespace corvelt {

namespace {

QColor toQColor(Rgb colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

PixelBuffer pixelsOf(QImage& image) {
    switch (image.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            break;
        default:
            throw std::invalid_argument("QtCanvas needs a 32-bit RGB image");
    }
    // bits() detaches a shared image, so it must come before any painter starts.
    return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
            image.bytesPerLine() / static_cast<std::ptrdiff_t>(sizeof(std::uint32_t))};
}

QPolygon toQPolygon(std::span<const Pixel> corners) {
    QPolygon polygon(static_cast<int>(corners.size()));
    for (std::size_t i = 0; i < corners.size(); ++i) {
        polygon.setPoint(static_cast<int>(i), corners[i].x, corners[i].y);
    }
    return polygon;
}

}  // namespace

QtCanvas::QtCanvas(QImage& image)
    : image_(image),
      pixels_(pixelsOf(image)),
      firstRow_(0),
      endRow_(pixels_.height),
      filler_(pixels_) {}

QtCanvas::QtCanvas(QImage& image, int firstRow, int endRow)
    : image_(image),
      pixels_(pixelsOf(image)),
      firstRow_(std::clamp(firstRow, 0, pixels_.height)),
      endRow_(std::clamp(endRow, firstRow_, pixels_.height)),
      bandImage_(reinterpret_cast<uchar*>(pixels_.pixels + firstRow_ * pixels_.stride),
                 pixels_.width, endRow_ - firstRow_, image.bytesPerLine(), image.format()),
      filler_(pixels_, firstRow_, endRow_) {}

QtCanvas::~QtCanvas() {
    finish();
}

void QtCanvas::finish() {
    if (painter_) painter_->end();
    painter_.reset();
}

QPainter& QtCanvas::painter() {
    if (!painter_) {
        const bool band = firstRow_ != 0 || endRow_ != pixels_.height;
        painter_ = std::make_unique<QPainter>(band ? &bandImage_ : &image_);
        if (band) painter_->translate(0, -firstRow_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, false);
        painter_->setBackgroundMode(Qt::TransparentMode);
        painter_->setBrush(Qt::NoBrush);
    }
    return *painter_;
}

void QtCanvas::clear(Rgb colour) {
    filler_.clear(packPixel(colour));
}

std::unique_ptr<Canvas> QtCanvas::polygonRowBand(int firstRow, int endRow) {
    // Polygons go straight into the image's memory, never through the painter, so
    // bands of rows can be filled concurrently.
    return std::make_unique<RowBandCanvas>(pixels_, firstRow, endRow);
}

std::unique_ptr<Canvas> QtCanvas::rowBand(int firstRow, int endRow) {
    if (!polygonRowBand(firstRow, endRow)) return nullptr;
    return std::unique_ptr<Canvas>(new QtCanvas(image_, firstRow, endRow));
}

void QtCanvas::fillPolygon(std::span<const Pixel> corners, Rgb colour) {
    filler_.fillPolygon(corners, packPixel(colour));
}

void QtCanvas::setPen(const Pen& pen) {
    painter().setPen(toQPen(pen));
    painter().setBrush(Qt::NoBrush);
}

void QtCanvas::drawPath(std::span<const Pixel> corners, bool closed, const Pen& pen) {
    if (corners.size() < 2) return;
    if (pen.width <= 1 && pen.style == PenStyle::solid) {
        const std::uint32_t pixel = packPixel(pen.colour);
        for (std::size_t i = 0; i + 1 < corners.size(); ++i)
            drawThinLine(pixels_, corners[i], corners[i + 1], pixel, firstRow_, endRow_);
        if (closed)
            drawThinLine(pixels_, corners.back(), corners.front(), pixel, firstRow_, endRow_);
        return;
    }
    if (pen.style == PenStyle::solid && stampPath(corners, closed, pen)) return;
    setPen(pen);
    const QPolygon polygon = toQPolygon(corners);
    if (closed) {
        painter().drawPolygon(polygon);
    } else {
        painter().drawPolyline(polygon);
    }
}

bool QtCanvas::stampPath(std::span<const Pixel> corners, bool closed, const Pen& pen) {
    const Pixel first = corners.front();
    const std::int64_t reach = PathStamps::reach;
    // Far outside: left to the painter, which draws nothing there either.
    if (first.x + reach < 0 || first.y + reach < firstRow_ || first.x - reach > pixels_.width ||
        first.y - reach > endRow_)
        return false;
    const std::vector<Pixel>* outline = paths_.outline(corners, closed, pen.width);
    if (!outline) return false;
    const std::uint32_t pixel = packPixel(pen.colour);
    if (first.x >= reach && first.y >= firstRow_ + reach && first.x + reach < pixels_.width &&
        first.y + reach < endRow_) {
        std::uint32_t* origin = pixels_.pixels + first.y * pixels_.stride + first.x;
        for (const Pixel offset : *outline)
            origin[offset.y * pixels_.stride + offset.x] = pixel;
        return true;
    }
    for (const Pixel offset : *outline) {
        const int x = first.x + offset.x;
        const int y = first.y + offset.y;
        if (x >= 0 && x < pixels_.width && y >= firstRow_ && y < endRow_)
            pixels_.pixels[y * pixels_.stride + x] = pixel;
    }
    return true;
}

void QtCanvas::drawCircle(Pixel centre, int radius, const Pen& pen) {
    if (radius <= 0) return;
    const int penWidth = std::max(pen.width, 1);
    const std::int64_t reach = std::int64_t{radius} + penWidth;
    // Far outside: nothing to see, and no giant coordinates for the stroker.
    if (centre.x + reach < 0 || centre.y + reach < 0 || centre.x - reach > width() ||
        centre.y - reach > height()) {
        return;
    }
    if (pen.style == PenStyle::solid && radius <= CircleStamps::maxRadius &&
        penWidth <= CircleStamps::maxPenWidth) {
        stampCircle(centre, radius, penWidth, pen.colour);
        return;
    }
    setPen(pen);
    // Qt's one-pixel outline of a w x h rectangle covers w + 1 columns.
    painter().drawEllipse(
        QRect(centre.x - radius, centre.y - radius, 2 * radius - 1, 2 * radius - 1));
}

void QtCanvas::stampCircle(Pixel centre, int radius, int penWidth, Rgb colour) {
    const std::uint32_t pixel = packPixel(colour);
    const std::vector<Pixel>& outline = circles_.outline(radius, penWidth);
    const int reach = radius + penWidth + 2;  // beyond every pixel of the stamp
    if (centre.x >= reach && centre.y >= firstRow_ + reach && centre.x + reach < pixels_.width &&
        centre.y + reach < endRow_) {
        std::uint32_t* origin = pixels_.pixels + centre.y * pixels_.stride + centre.x;
        for (const Pixel offset : outline)
            origin[offset.y * pixels_.stride + offset.x] = pixel;
        return;
    }
    for (const Pixel offset : outline) {
        const int x = centre.x + offset.x;
        const int y = centre.y + offset.y;
        if (x >= 0 && x < pixels_.width && y >= firstRow_ && y < endRow_) {
            pixels_.pixels[y * pixels_.stride + x] = pixel;
        }
    }
}

void QtCanvas::drawBox(int left, int top, int right, int bottom, Rgb fill, const Pen& border) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left == right || top == bottom) return;
    filler_.fillRectangle(left, top, right, bottom, packPixel(fill));
    const int thickness = std::max(border.width, 1);
    if (border.style == PenStyle::dashed) {
        const std::array<Pixel, 4> frame{Pixel{left, top}, Pixel{right - 1, top},
                                         Pixel{right - 1, bottom - 1}, Pixel{left, bottom - 1}};
        drawPath(frame, true, Pen{border.colour, 1, PenStyle::dashed});
        return;
    }
    const std::uint32_t pen = packPixel(border.colour);
    filler_.fillRectangle(left, top, right, std::min(top + thickness, bottom), pen);
    filler_.fillRectangle(left, std::max(bottom - thickness, top), right, bottom, pen);
    filler_.fillRectangle(left, top, std::min(left + thickness, right), bottom, pen);
    filler_.fillRectangle(std::max(right - thickness, left), top, right, bottom, pen);
}

void QtCanvas::drawText(Pixel topLeft, std::string_view text, const Font& font, Rgb colour) {
    if (text.empty() || topLeft.x >= width() || topLeft.y >= height()) return;
    const auto cellMissesCanvas = [&](const ResolvedFont& resolved) {
        return topLeft.y + resolved.cellHeight <= 0 ||
               topLeft.x + static_cast<std::int64_t>(resolved.maxAdvance) *
                               static_cast<std::int64_t>(text.size()) <
                   0;
    };
    const bool number =
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (DigitStamps* stamps = number ? digits_.stampsFor(font, fonts_) : nullptr) {
        if (cellMissesCanvas(stamps->font())) return;
        const std::uint32_t pixel = packPixel(colour);
        stamps->forEachPixel(topLeft, text, [&](std::int64_t x, std::int64_t y) {
            if (x >= 0 && x < pixels_.width && y >= firstRow_ && y < endRow_)
                pixels_.pixels[y * pixels_.stride + x] = pixel;
        });
        return;
    }
    const ResolvedFont resolved = fonts_.resolve(font);
    if (cellMissesCanvas(resolved)) return;
    QPainter& qpainter = painter();
    qpainter.setFont(resolved.font);
    qpainter.setPen(toQColor(colour));
    qpainter.drawText(QPoint(topLeft.x, topLeft.y + resolved.ascent),
                      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int QtCanvas::textWidth(std::string_view text, const Font& font) const {
    const QFontMetrics metrics(fonts_.resolve(font).font);
    return metrics.horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace corvelt
