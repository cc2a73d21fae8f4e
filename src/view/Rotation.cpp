#include "view/Rotation.h"

#include <algorithm>
#include <cmath>

#include "view/Matrix4.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

Point3D row(const Matrix4& m, int r) {
    return {m[4 * r], m[4 * r + 1], m[4 * r + 2]};
}

void setRow(Matrix4& m, int r, Point3D v) {
    m[4 * r] = v.x;
    m[4 * r + 1] = v.y;
    m[4 * r + 2] = v.z;
}

Point3D unit(Point3D v) {
    return v * (1.0 / length(v));
}

void rotateAboutScreenAxis(ViewCamera& camera, Point3D screenAxis, double angle) {
    Matrix4 m = camera.viewMatrix;
    const Point3D pivot = transformPoint(m, camera.worldBoxCenter());
    m = multiply(m, axisRotationMatrix(pivot, pivot + screenAxis, angle));

    const Point3D origin = row(m, 3);
    const Point3D xImage = row(m, 0) + origin;
    Point3D yImage = row(m, 1) + origin;
    Point3D zImage;
    orthonormalizeFrame(origin, xImage, yImage, zImage);

    m = identityMatrix();
    setRow(m, 0, unit(xImage - origin));
    setRow(m, 1, unit(yImage - origin));
    setRow(m, 2, unit(zImage - origin));
    setRow(m, 3, origin);
    // A pivot near the ends of the double range can overflow the frame: such a turn
    // is not taken, and the view stays as it was.
    if (std::all_of(m.begin(), m.end(), [](double v) { return std::isfinite(v); }))
        camera.viewMatrix = m;
}

}  // namespace

void rotateAboutScreenX(ViewCamera& camera, double angle) {
    rotateAboutScreenAxis(camera, {1, 0, 0}, angle);
}

void rotateAboutScreenY(ViewCamera& camera, double angle) {
    rotateAboutScreenAxis(camera, {0, 1, 0}, angle);
}

bool orthonormalizeFrame(Point3D origin, Point3D xPoint, Point3D& yPoint, Point3D& zPoint) {
    const Point3D x = xPoint - origin;
    const Point3D y = yPoint - origin;
    const Point3D z = cross(x, y);
    yPoint = origin + cross(z, x);
    zPoint = origin + z;
    return true;
}

std::optional<Point3D> screenToWorld(Point3D viewPoint, const ViewCamera& camera) {
    const std::optional<Matrix4> inverse = invertMatrix4(camera.viewMatrix);
    if (!inverse) return std::nullopt;
    return transformPoint(*inverse, viewPoint);
}

}  // namespace corvelt
