#include "render/Shading.h"

#include <cmath>

#include "model/ShellModel.h"
#include "view/Rotation.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

const Point3D& corner(const ShellModel& model, std::int32_t element, int j) {
    return model.nodes[model.elementCorners(element)[j]];
}

Point3D reflect(Point3D point, Point3D normal, Point3D planePoint) {
    const double normalLength = length(normal);
    if (normalLength == 0.0) return point;
    const double k = dot(normal, point) - dot(normal, planePoint);
    const double w = 2.0 * std::fabs(k) / normalLength;
    const Point3D unit = normal * (1.0 / normalLength);
    return k > 0.0 ? point - unit * w : point + unit * w;
}

}  // namespace

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
    const Point3D& p0 = corner(model, element, 0);
    const Point3D n = cross(corner(model, element, 1) - p0, corner(model, element, 3) - p0);
    const double n2 = length(n);
    if (!(n2 > 0.0) || !std::isfinite(n2)) return {};
    const Point3D unit = n * (1.0 / n2);
    return dot(unit, camera.viewAxis()) < 0.0 ? unit * -1.0 : unit;
}

Point3D mirrorPoint(const ShellModel& model, const ViewCamera& camera, Point3D point,
                    std::int32_t element) {
    return reflect(point, elementNormal(model, camera, element), corner(model, element, 0));
}

Point3D elementCentroid(const ShellModel& model, std::int32_t element) {
    Point3D sum{};
    for (int j = 0; j < ShellModel::nodesPerElement; ++j)
        sum = sum + corner(model, element, j);
    return sum * (1.0 / ShellModel::nodesPerElement);
}

double shadingFactor(const ShellModel& model, const ViewCamera& camera,
                     const std::optional<Point3D>& light, std::int32_t element) {
    if (!light) return 1.0;
    const Point3D normal = elementNormal(model, camera, element);
    if (dot(normal, normal) == 0.0) return ambientShading;

    const Point3D mirrored = reflect(*light, normal, corner(model, element, 0));
    const Point3D towardCentre = elementCentroid(model, element) - mirrored;
    const double distance = length(towardCentre);
    if (!(distance > 0.0) || !std::isfinite(distance)) return ambientShading;

    const Point3D u = towardCentre * (1.0 / distance);
    double diffuse = dot(u, normal);
    double specular = 0.0;
    if (diffuse < 0.0) {
        diffuse = 0.0;
    } else {
        specular = dot(u, camera.viewAxis());
        if (specular < 0.0) specular = 0.0;
    }
    return (diffuse + 0.2 + specular * specular * specular) / 2.2;
}

}  // namespace corvelt
