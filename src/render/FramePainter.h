#pragma once

namespace corvelt {

class Canvas;
struct ShellModel;
struct ViewCamera;

// Draws the complete picture of the model for one repaint, far to near, onto a
// canvas that the caller has cleared to the background colour.
class FramePainter {
public:
    void paintFrame(const ShellModel& model, const ViewCamera& camera, Canvas& canvas);
};

}  // namespace corvelt
