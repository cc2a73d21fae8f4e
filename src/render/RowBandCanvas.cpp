#include "render/RowBandCanvas.h"

#include <stdexcept>

namespace corvelt {

namespace {

[[noreturn]] void polygonsOnly() {
    throw std::logic_error("a row band of a canvas fills polygons only");
}

}  // namespace

void RowBandCanvas::clear(Rgb) {
    polygonsOnly();
}
void RowBandCanvas::drawPath(std::span<const Pixel>, bool, const Pen&) {
    polygonsOnly();
}
void RowBandCanvas::drawCircle(Pixel, int, const Pen&) {
    polygonsOnly();
}
void RowBandCanvas::drawBox(int, int, int, int, Rgb, const Pen&) {
    polygonsOnly();
}
void RowBandCanvas::drawText(Pixel, std::string_view, const Font&, Rgb) {
    polygonsOnly();
}

}  // namespace corvelt
