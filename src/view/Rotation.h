#pragma once

#include <optional>

#include "model/Point.h"

namespace corvelt {

struct ViewCamera;

// Turns the view matrix about the screen's horizontal (X) or vertical (Y) axis
// through the on-screen position of the world box centre, then rebuilds its frame
// as exactly orthonormal so that many steps neither shear nor stretch. Projects
// nothing and keeps the screen mapping; the caller projects the nodes. A turn whose
// matrix would not be finite (a model near the ends of the double range) is not taken.
void rotateAboutScreenX(ViewCamera& camera, double angle);
void rotateAboutScreenY(ViewCamera& camera, double angle);

// With x = X - O and y = Y - O: z = x * y, Y becomes O + z * x, Z becomes O + z.
// The triple x, Y - O, Z - O is right-handed and orthogonal; lengths are left to the caller.
bool orthonormalizeFrame(Point3D origin, Point3D xPoint, Point3D& yPoint, Point3D& zPoint);

// The world point of a full view-space point (x, y and depth). No result when the
// view matrix cannot be inverted, which a valid view never is.
std::optional<Point3D> screenToWorld(Point3D viewPoint, const ViewCamera& camera);

}  // namespace corvelt
