#pragma once

#include <cstdint>

#include "render/Canvas.h"
#include "render/ScreenMapper.h"
#include "render/ScreenPolygon.h"

namespace corvelt {

struct ShellModel;
struct ViewCamera;

// What every drawing routine of one frame works with. The model and the camera are
// only read while a frame is painted. The camera maps onto the canvas's pixels;
// pixelRatio is how many of them make one client pixel, by which the drawings'
// own sizes grow.
struct PaintContext {
    PaintContext(const ShellModel& shellModel, const ViewCamera& viewCamera, Canvas& target,
                 double devicePixelRatio = 1.0)
        : model(shellModel),
          camera(viewCamera),
          canvas(target),
          screen(viewCamera, target.width(), target.height(),
                 ScreenMapper::drawingMargin * devicePixelRatio),
          pixelRatio(devicePixelRatio) {}

    const ShellModel& model;
    const ViewCamera& camera;
    Canvas& canvas;
    ScreenMapper screen;
    double pixelRatio;
    // Faults of the contour arithmetic that finite data cannot cause. They are
    // counted, never shown from inside a paint; the caller reports them once.
    std::int64_t internalErrors = 0;
    // Room for the pixels of one polygon at a time, made once per frame rather than
    // per polygon.
    ScreenPolygon scratch;
};

}  // namespace corvelt
