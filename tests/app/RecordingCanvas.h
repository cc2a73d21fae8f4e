#pragma once

#include <vector>

#include "render/Canvas.h"

namespace corvelt::testing {

// Remembers the background and every path; ignores everything else.
class RecordingCanvas : public Canvas {
  public:
    struct Path {
        std::vector<Pixel> corners;
        bool closed;
        Pen pen;
    };

    RecordingCanvas(int width, int height) : width_(width), height_(height) {}

    int width() const override { return width_; }
    int height() const override { return height_; }
    void clear(Rgb colour) override {
        background = colour;
        ++clears;
    }
    void fillPolygon(std::span<const Pixel>, Rgb) override {}
    void drawPath(std::span<const Pixel> corners, bool closed, const Pen& pen) override {
        paths.push_back({{corners.begin(), corners.end()}, closed, pen});
    }
    void drawCircle(Pixel, int, const Pen&) override {}
    void drawBox(int, int, int, int, Rgb, const Pen&) override {}
    void drawText(Pixel, std::string_view, const Font&, Rgb) override {}

    Rgb background{};
    int clears = 0;
    std::vector<Path> paths;

  private:
    int width_;
    int height_;
};

}  // namespace corvelt::testing
