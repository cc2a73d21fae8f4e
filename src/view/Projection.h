#pragma once

#include <cstdint>

namespace corvelt {

struct ShellModel;
struct ViewCamera;

// Operations that tie the camera to the model's nodes. Projection runs once per
// change of the view matrix; fitting, zooming and panning never re-project.

// Recomputes every projected node position from the view matrix. Positions are
// always finite: one beyond the double range is held at its end.
void projectAllNodes(ShellModel& model, const ViewCamera& camera);

// Stores the angles, rebuilds the view matrix and projects; does not fit.
void setViewAngles(ShellModel& model, ViewCamera& camera, double alpha, double beta);

// Fits the current projection into the screen (5 % margin); does not re-project.
void fitAll(const ShellModel& model, ViewCamera& camera);

// A new client size: store it, fit the whole model again, project.
void resizeView(ShellModel& model, ViewCamera& camera, std::int32_t width, std::int32_t height);

// Copies the model's bounding box into the camera's world box (the rotation pivot).
void copyWorldBox(const ShellModel& model, ViewCamera& camera);

}  // namespace corvelt
