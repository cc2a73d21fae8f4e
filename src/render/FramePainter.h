#pragma once

#include <cstdint>

#include "render/BandLimits.h"
#include "render/DepthOrder.h"

namespace corvelt {

class Canvas;
struct ShellModel;
struct ViewCamera;

// Draws the complete picture of the model for one repaint, far to near, onto a
// canvas that the caller has cleared to the background colour: per element its
// contour, outline, fill and node markers, then node and element numbers, then the
// legend. The model and the camera are only read.
class FramePainter {
  public:
    void paintFrame(const ShellModel& model, const ViewCamera& camera, Canvas& canvas);

    // The far-to-near order is kept between frames while the view matrix and the
    // model's arrays stay the same; call this when node positions or connectivity
    // changed in place (a reload that moves new arrays in is noticed anyway).
    void invalidate() { drawOrder_.invalidate(); }

    // Faults of the contour arithmetic counted over all frames painted so far (an
    // edge point that could not be found, a component outside Sx..Se). Finite data
    // never causes them; the shell reports a rise once instead of per polygon.
    std::int64_t internalErrorCount() const { return internalErrors_; }

    // The band limits of the last frame, as the legend showed them.
    const BandLimits& bandLimits() const { return limits_; }

  private:
    DrawOrderCache drawOrder_;
    BandLimits limits_;
    std::int64_t internalErrors_ = 0;
};

}  // namespace corvelt
