#include "render/Shading.h"

#include <cmath>
#include <numeric>

#include "base/FiniteArithmetic.h"
#include "model/ShellModel.h"
#include "render/ElementPlanes.h"
#include "view/Rotation.h"
#include "view/ViewCamera.h"

namespace corvelt {

std::optional<Point3D> placeLight(const ShellModel& model, const ViewCamera& camera) {
    const Point3D boxCentre{std::midpoint(model.minX, model.maxX),
                            std::midpoint(model.minY, model.maxY),
                            std::midpoint(model.minZ, model.maxZ)};
    const double depth = camera.viewDepth(boxCentre);
    const double dx = model.maxX - model.minX;
    const double dy = model.maxY - model.minY;
    const double dz = model.maxZ - model.minZ;
    double diagonal = std::sqrt(dx * dx + dy * dy + dz * dz);
    // A box too big for the plain formula: its diagonal from halved sides.
    if (!std::isfinite(diagonal))
        diagonal = clampToFinite(2.0 * std::hypot(model.maxX * 0.5 - model.minX * 0.5,
                                                  model.maxY * 0.5 - model.minY * 0.5,
                                                  model.maxZ * 0.5 - model.minZ * 0.5));
    return screenToWorld({camera.centerX, camera.centerY, clampToFinite(depth + diagonal)}, camera);
}

Point3D elementNormal(const ShellModel& model, const ViewCamera& camera, std::int32_t element) {
    return normalTowardViewer(elementPlanes(model, element), camera.viewAxis());
}

Point3D mirrorPoint(const ShellModel& model, Point3D point, std::int32_t element) {
    return mirrorInPlane(elementPlanes(model, element), point);
}

Point3D elementCentroid(const ShellModel& model, std::int32_t element) {
    return elementPlanes(model, element).centroid;
}

double shadingFactor(const ShellModel& model, const ViewCamera& camera,
                     const std::optional<Point3D>& light, std::int32_t element) {
    return shadingFactor(elementPlanes(model, element), camera.viewAxis(), light);
}

}  // namespace corvelt
