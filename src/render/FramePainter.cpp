#include "render/FramePainter.h"

#include "model/ShellModel.h"
#include "render/Canvas.h"
#include "view/ViewCamera.h"

namespace corvelt {

void FramePainter::paintFrame(const ShellModel& model, const ViewCamera& camera, Canvas& canvas) {
    // The full frame (contour, mesh, labels, legend) is being built up; until then
    // the frame stays as the caller cleared it.
    (void)model;
    (void)camera;
    (void)canvas;
}

}  // namespace corvelt
