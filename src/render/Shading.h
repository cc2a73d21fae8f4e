#pragma once

#include <cstdint>
#include <optional>

#include "model/Point.h"

namespace corvelt {

struct ShellModel;
struct ViewCamera;

// The lighting model: one point light placed in front of the model for each frame,
// and per element a brightness factor from the light, the element's plane and the
// viewing direction. All positions are world coordinates.

inline constexpr double ambientShading = 0.2 / 2.2;

// One bounding-box diagonal in front of the box centre, straight in front of the
// view point drawn at the camera's origin pixel. No position when the view matrix
// cannot be inverted, which a valid view never is.
std::optional<Point3D> placeLight(const ShellModel& model, const ViewCamera& camera);

// Unit normal from corners 0, 1 and 3, turned toward the viewer. A zero vector for
// an element whose three corners are collinear: it has no plane.
Point3D elementNormal(const ShellModel& model, const ViewCamera& camera, std::int32_t element);

// The reflection of the point in the element's plane (through corner 0). An element
// without a plane returns the point itself.
Point3D mirrorPoint(const ShellModel& model, Point3D point, std::int32_t element);

// Average of the corner positions.
Point3D elementCentroid(const ShellModel& model, std::int32_t element);

// (diffuse + 0.2 + specular^3) / 2.2, between 1/11 and 1. Without a light nothing is
// darkened (1); an element without a plane, or whose centroid holds the light's
// mirror image, gets the ambient share only.
double shadingFactor(const ShellModel& model, const ViewCamera& camera,
                     const std::optional<Point3D>& light, std::int32_t element);

}  // namespace corvelt
