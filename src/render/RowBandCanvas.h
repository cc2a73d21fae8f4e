#pragma once

#include "render/Canvas.h"
#include "render/SpanFiller.h"

namespace corvelt {

// Fills polygons into a band of rows of a pixel buffer, for painting a frame on
// several threads: each thread fills its own band, so no pixel is written twice at
// once. It reports the whole buffer's size, so that geometry maps and clips exactly
// as on the full canvas. Anything but polygons is a logic error.
class RowBandCanvas : public Canvas {
  public:
    RowBandCanvas(const PixelBuffer& buffer, int firstRow, int endRow)
        : filler_(buffer, firstRow, endRow) {}

    int width() const override { return filler_.buffer().width; }
    int height() const override { return filler_.buffer().height; }

    void fillPolygon(std::span<const Pixel> corners, Rgb colour) override {
        filler_.fillPolygon(corners, packPixel(colour));
    }

    void clear(Rgb colour) override;
    void drawPath(std::span<const Pixel> corners, bool closed, const Pen& pen) override;
    void drawCircle(Pixel centre, int radius, const Pen& pen) override;
    void drawBox(int left, int top, int right, int bottom, Rgb fill, const Pen& border) override;
    void drawText(Pixel topLeft, std::string_view text, const Font& font, Rgb colour) override;

  private:
    SpanFiller filler_;
};

}  // namespace corvelt
