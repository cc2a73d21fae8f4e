#include "render/ElementPlanes.h"

#include <cmath>

#include "base/ChunkedWork.h"
#include "base/Prefault.h"
#include "model/ShellModel.h"
#include "render/Shading.h"  // ambientShading

namespace corvelt {

Point3D unitNormal(const Point3D& a, const Point3D& b, const Point3D& c) {
    const Point3D n = cross(b - a, c - a);
    const double n2 = length(n);
    if (!(n2 > 0.0) || !std::isfinite(n2)) return {};
    return n * (1.0 / n2);
}

ElementPlanes elementPlanes(const ShellModel& model, std::int32_t element) {
    const std::int32_t* corners = model.elementCorners(element);
    const Point3D& p0 = model.nodes[corners[0]];
    const Point3D& p1 = model.nodes[corners[1]];
    const Point3D& p2 = model.nodes[corners[2]];
    const Point3D& p3 = model.nodes[corners[3]];
    ElementPlanes planes;
    planes.facingNormal = unitNormal(p0, p1, p2);
    planes.lightingNormal = unitNormal(p0, p1, p3);
    planes.planeOffset = dot(planes.lightingNormal, p0);
    planes.centroid = (p0 + p1 + p2 + p3) * (1.0 / ShellModel::nodesPerElement);
    return planes;
}

Point3D mirrorInPlane(const ElementPlanes& planes, const Point3D& point) {
    const Point3D& normal = planes.lightingNormal;
    const double normalLength = length(normal);
    if (normalLength == 0.0) return point;
    const double k = dot(normal, point) - planes.planeOffset;
    const double w = 2.0 * std::fabs(k) / normalLength;
    const Point3D unit = normal * (1.0 / normalLength);
    return k > 0.0 ? point - unit * w : point + unit * w;
}

double shadingFactor(const ElementPlanes& planes, const Point3D& viewAxis,
                     const std::optional<Point3D>& light) {
    if (!light) return 1.0;
    if (dot(planes.lightingNormal, planes.lightingNormal) == 0.0) return ambientShading;

    const Point3D towardCentre = planes.centroid - mirrorInPlane(planes, *light);
    const double distance = length(towardCentre);
    if (!(distance > 0.0) || !std::isfinite(distance)) return ambientShading;

    const Point3D u = towardCentre * (1.0 / distance);
    double diffuse = dot(u, normalTowardViewer(planes, viewAxis));
    double specular = 0.0;
    if (diffuse < 0.0) {
        diffuse = 0.0;
    } else {
        specular = dot(u, viewAxis);
        if (specular < 0.0) specular = 0.0;
    }
    return (diffuse + 0.2 + specular * specular * specular) / 2.2;
}

const std::vector<ElementPlanes>& ElementPlanesCache::planesFor(const ShellModel& model) {
    const ModelArraysKey key = ModelArraysKey::of(model);
    if (!valid_ || !(key == key_)) {
        resizeOnHugePages(planes_, static_cast<std::size_t>(model.elementCount()));
        forEachChunk(planes_.size(), 1 << 14, [&](std::size_t, std::size_t begin, std::size_t end) {
            for (std::size_t e = begin; e < end; ++e)
                planes_[e] = elementPlanes(model, static_cast<std::int32_t>(e));
        });
        key_ = key;
        valid_ = true;
    }
    return planes_;
}

}  // namespace corvelt
