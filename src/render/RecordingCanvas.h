#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/Canvas.h"

namespace corvelt {

// One canvas call as recorded; only the members that the kind uses are set.
struct CanvasCall {
    enum class Kind { clear, fillPolygon, drawPath, drawCircle, drawBox, drawText };

    Kind kind = Kind::clear;
    std::vector<Pixel>
        points;           // polygon or path corners; circle centre; box top-left and bottom-right
    Rgb colour;           // fill, box fill or text colour
    Pen pen;              // paths, circles and box borders
    bool closed = false;  // paths
    int radius = 0;       // circles
    int fontHeight = 0;   // text
    int fontWidth = 0;
    std::string fontFace;
    std::string text;
};

// A canvas that draws nothing and remembers every call in order, so that tests can
// check exactly what a painter asked for.
class RecordingCanvas : public Canvas {
  public:
    RecordingCanvas(int width, int height) : width_(width), height_(height) {}

    int width() const override { return width_; }
    int height() const override { return height_; }

    void clear(Rgb colour) override;
    void fillPolygon(std::span<const Pixel> corners, Rgb colour) override;
    void drawPath(std::span<const Pixel> corners, bool closed, const Pen& pen) override;
    void drawCircle(Pixel centre, int radius, const Pen& pen) override;
    void drawBox(int left, int top, int right, int bottom, Rgb fill, const Pen& border) override;
    void drawText(Pixel topLeft, std::string_view text, const Font& font, Rgb colour) override;

    const std::vector<CanvasCall>& calls() const { return calls_; }
    std::vector<CanvasCall> callsOf(CanvasCall::Kind kind) const;
    void reset() { calls_.clear(); }

  private:
    int width_;
    int height_;
    std::vector<CanvasCall> calls_;
};

}  // namespace corvelt
