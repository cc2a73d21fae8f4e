#pragma once

#include <array>
#include <optional>

#include "model/Point.h"

namespace corvelt {

// A 4x4 matrix, row-major (entry [r][c] at index 4 * r + c), applied to row vectors
// from the left: v' = v * M. In a product A * B, A acts first.
using Matrix4 = std::array<double, 16>;

constexpr Matrix4 identityMatrix() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b);

// (p, 1) * M, first three components.
Point3D transformPoint(const Matrix4& m, Point3D p);

// Gauss-Jordan with full pivoting. A matrix whose largest remaining pivot is lost
// against 1 in double precision counts as singular and gives no result.
std::optional<Matrix4> invertMatrix4(const Matrix4& source);

// Rotation by angle (radians, right-hand rule) about the line from a toward b.
Matrix4 axisRotationMatrix(Point3D a, Point3D b, double angle);

}  // namespace corvelt
