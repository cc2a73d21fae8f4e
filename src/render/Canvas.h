#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "model/Color.h"
#include "view/Pixel.h"

namespace corvelt {

enum class PenStyle { solid, dashed };

struct Pen {
    Rgb colour;
    int width = 1;
    PenStyle style = PenStyle::solid;
};

// A font by cell height and average character width in pixels (width 0: the face's
// natural width for that height) and face name. Height 0 asks for the face's
// default size.
struct Font {
    int height = 0;
    int width = 0;
    std::string_view face = "Times New Roman";
};

// The default size: a character height (em) of 16 pixels, the 12 points of a
// default font of a named family on a 96-dpi desktop. Fixed in pixels, so that
// pictures do not depend on the screen.
inline constexpr int defaultFontPixelSize = 16;

// What the painters draw on. Coordinates are client pixels; everything outside the
// canvas is clipped by the implementation.
class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    // Fills the whole canvas.
    virtual void clear(Rgb colour) = 0;

    // Fills the polygon's interior by the odd-even rule, without an outline. A
    // pixel belongs to the polygon when its centre does; fewer than three corners
    // fill nothing.
    virtual void fillPolygon(std::span<const Pixel> corners, Rgb colour) = 0;

    // Lines from corner to corner; closed also joins the last corner to the first.
    virtual void drawPath(std::span<const Pixel> corners, bool closed, const Pen& pen) = 0;

    // Outline of the circle inscribed in the square centre +- radius.
    virtual void drawCircle(Pixel centre, int radius, const Pen& pen) = 0;

    // A box covering columns left .. right - 1 and rows top .. bottom - 1: filled,
    // with its outermost pixels in the border pen.
    virtual void drawBox(int left, int top, int right, int bottom, Rgb fill, const Pen& border) = 0;

    // Text whose cell's top-left corner is at the pixel, on a transparent background.
    virtual void drawText(Pixel topLeft, std::string_view text, const Font& font, Rgb colour) = 0;

    // How wide the text would be drawn, in pixels. This estimate, generous for the
    // faces we use, serves canvases that draw no glyphs of their own.
    virtual int textWidth(std::string_view text, const Font& font) const;

    // A canvas of the same size that fills polygons into rows firstRow .. endRow - 1
    // of this one and draws nothing else. Bands of disjoint rows may fill at the
    // same time on different threads, while nothing else draws on this canvas.
    // Canvases that cannot do that return none, and the painter works alone.
    virtual std::unique_ptr<Canvas> polygonRowBand(int firstRow, int endRow);

    // A canvas of the same size that draws everything this one draws, each pixel
    // exactly as this one would, but only into rows firstRow .. endRow - 1. Bands of
    // disjoint rows may draw at the same time on different threads, while nothing
    // else draws on this canvas. Canvases that cannot do that return none.
    virtual std::unique_ptr<Canvas> rowBand(int firstRow, int endRow);
};

}  // namespace corvelt
