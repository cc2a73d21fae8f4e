#include "render/Shading.h"

#include <cmath>

#include "model/ShellModel.h"
#include "render/ElementPlanes.h"
#include "view/Rotation.h"
#include "view/ViewCamera.h"

namespace corvelt {

std::optional<Point3D> placeLight(const ShellModel& model, const ViewCamera& camera) {
    const Point3D boxCentre{(model.minX + model.maxX) * 0.5, (model.minY + model.maxY) * 0.5,
                            (model.minZ + model.maxZ) * 0.5};
    const double depth = camera.viewDepth(boxCentre);
    const double dx = model.maxX - model.minX;
    const double dy = model.maxY - model.minY;
    const double dz = model.maxZ - model.minZ;
    const double diagonal = std::sqrt(dx * dx + dy * dy + dz * dz);
    return screenToWorld({camera.centerX, camera.centerY, depth + diagonal}, camera);
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
