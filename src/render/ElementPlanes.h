#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/Point.h"
#include "render/ModelArraysKey.h"

namespace corvelt {

// What the surface choice and the lighting need of one element's geometry. None of
// it depends on the view, so it is computed once per model and reused by every frame.
struct ElementPlanes {
    Point3D facingNormal;  // unit normal of corners 0, 1, 2; zero when they are collinear
    Point3D
        lightingNormal;  // unit normal of corners 0, 1, 3, not yet turned to the viewer; or zero
    double planeOffset = 0;  // lightingNormal . corner 0
    Point3D centroid;        // average of the four corners
};

// (b - a) x (c - a) divided by its length; zero when the three points are collinear.
Point3D unitNormal(const Point3D& a, const Point3D& b, const Point3D& c);

ElementPlanes elementPlanes(const ShellModel& model, std::int32_t element);

// The surface block that faces the viewer: 0 when the facing normal points toward
// the viewer, else 1 (also edge-on and degenerate elements).
inline int facingSurface(const ElementPlanes& planes, const Point3D& viewAxis) {
    return dot(planes.facingNormal, viewAxis) > 0.0 ? 0 : 1;
}

// The lighting normal turned toward the viewer (one perpendicular to the view axis
// is left as it is).
inline Point3D normalTowardViewer(const ElementPlanes& planes, const Point3D& viewAxis) {
    return dot(planes.lightingNormal, viewAxis) < 0.0 ? planes.lightingNormal * -1.0
                                                      : planes.lightingNormal;
}

// The reflection of the point in the element's plane; the point itself when the
// element has no plane. Which side the normal faces makes no difference.
Point3D mirrorInPlane(const ElementPlanes& planes, const Point3D& point);

// The brightness factor, (diffuse + 0.2 + specular^3) / 2.2, between 1/11 and 1:
// the light is mirrored in the element's plane and the direction from that image to
// the centroid is compared with the normal (diffuse) and the view axis (specular).
// Without a light nothing is darkened (1); an element without a plane, or whose
// centroid holds the light's image, gets the ambient share only (1/11).
double shadingFactor(const ElementPlanes& planes, const Point3D& viewAxis,
                     const std::optional<Point3D>& light);

// The planes of every element, kept while the model's arrays stay the same.
class ElementPlanesCache {
  public:
    const std::vector<ElementPlanes>& planesFor(const ShellModel& model);
    void invalidate() { valid_ = false; }

  private:
    bool valid_ = false;
    ModelArraysKey key_;
    std::vector<ElementPlanes> planes_;
};

}  // namespace corvelt
