#pragma once

#include <QImage>
#include <memory>

#include "gui/CircleStamps.h"
#include "gui/DigitStamps.h"
#include "gui/FontMapping.h"
#include "gui/PathStamps.h"
#include "render/Canvas.h"
#include "render/SpanFiller.h"

class QPainter;

namespace corvelt {

// A canvas over a caller-owned 32-bit RGB image. Polygons, boxes and clearing
// write straight into the image's memory; lines, circles and text go through one
// QPainter (antialiasing off) that starts with the first such call and lasts until
// finish() or the canvas's end.
//
// Where the pixels follow the classic device-context rules and where they differ:
// - Polygons: filled by the span filler (pixel centres, odd-even, shared edges
//   covered once).
// - Open paths leave out their last pixel, as LineTo does; closed paths draw
//   every corner. Solid one-pixel lines are drawn straight into the image (see
//   ThinLine.h) with the classic nearest-pixel choice at each step, the same
//   pixels in both directions. Qt's own one-pixel lines take integer points as
//   pixel corners and light the row the line crosses at each column's middle,
//   which puts a slanted line up to half a pixel off the classic one. Wider and
//   dashed pens go through the painter, with round caps and joins; short wide
//   solid paths are stamped with the painter's pixels (PathStamps.h).
// - Dashes are 18 pixels on and 6 off at every pen width (the classic dashed pen
//   exists only at width 1), running on along the path; gaps stay transparent.
// - Circles cover columns x - r .. x + r - 1 and rows y - r .. y + r - 1, like an
//   arc drawn in the square centre +- r; the outline's staircase is Qt's (drawn
//   once per size, then stamped).
// - Box borders lie inside the box at every pen width.
// - Text is drawn without antialiasing or ClearType, in the mapped face (see
//   FontMapping.h); glyph shapes are the mapped face's. Numbers are stamped from
//   glyphs that the painter drew once (DigitStamps.h), with the painter's pixels.
class QtCanvas : public Canvas {
  public:
    // The image must be Format_RGB32, ARGB32 or ARGB32_Premultiplied (else
    // std::invalid_argument) and must stay alive and unshared while the canvas
    // lives: the canvas keeps a pointer to its pixels.
    explicit QtCanvas(QImage& image);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    int width() const override { return pixels_.width; }
    int height() const override { return pixels_.height; }

    void clear(Rgb colour) override;
    void fillPolygon(std::span<const Pixel> corners, Rgb colour) override;
    void drawPath(std::span<const Pixel> corners, bool closed, const Pen& pen) override;
    void drawCircle(Pixel centre, int radius, const Pen& pen) override;
    void drawBox(int left, int top, int right, int bottom, Rgb fill, const Pen& border) override;
    void drawText(Pixel topLeft, std::string_view text, const Font& font, Rgb colour) override;
    int textWidth(std::string_view text, const Font& font) const override;
    std::unique_ptr<Canvas> polygonRowBand(int firstRow, int endRow) override;
    // A band draws what this canvas draws, pixel for pixel, within its rows: polygons,
    // boxes, thin lines and stamped circles straight into the image's memory, the
    // rest through a painter of its own over those rows. A subclass that fills
    // polygons in one pass only (polygonRowBand returns none) has no bands.
    std::unique_ptr<Canvas> rowBand(int firstRow, int endRow) override;

    // Ends the painter so that the image is complete. Drawing may go on afterwards.
    void finish();

  protected:
    // The painter over the image, begun on first use.
    QPainter& painter();

  private:
    // The band of rows firstRow .. endRow - 1 of the image.
    QtCanvas(QImage& image, int firstRow, int endRow);

    void setPen(const Pen& pen);
    void stampCircle(Pixel centre, int radius, int penWidth, Rgb colour);
    // False when the path is not one that is stamped.
    bool stampPath(std::span<const Pixel> corners, bool closed, const Pen& pen);

    QImage& image_;
    PixelBuffer pixels_;
    int firstRow_;
    int endRow_;
    // A band's painter draws on an image over its rows only, shifted up to them.
    QImage bandImage_;
    SpanFiller filler_;
    std::unique_ptr<QPainter> painter_;
    mutable FontCache fonts_;  // a cache: measuring text fills it too
    DigitStampCache digits_;
    CircleStamps circles_;
    PathStamps paths_;
};

}  // namespace corvelt
