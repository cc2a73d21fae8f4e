#pragma once

#include <memory>

#include "gui/QtCanvas.h"

namespace corvelt {

// A Qt canvas without row bands: the painter draws every frame in one pass on one
// thread, the picture that the bands must reproduce.
class OneThreadCanvas : public QtCanvas {
  public:
    using QtCanvas::QtCanvas;
    std::unique_ptr<Canvas> polygonRowBand(int, int) override { return nullptr; }
    std::unique_ptr<Canvas> rowBand(int, int) override { return nullptr; }
};

}  // namespace corvelt
