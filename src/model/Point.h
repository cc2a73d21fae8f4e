#pragma once

#include <cmath>

namespace corvelt {

// A world-space point (node coordinates, light position). The tolerance is a
// documented constant that no computation reads; it costs no storage.
struct Point3D {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    static constexpr double tolerance = 1e-15;
};

// A view-space point: x to the right, y up.
struct Point2D {
    double x = 0.0;
    double y = 0.0;
    static constexpr double tolerance = 1e-15;
};

constexpr Point3D operator+(Point3D a, Point3D b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
constexpr Point3D operator-(Point3D a, Point3D b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
constexpr Point3D operator*(Point3D a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
constexpr double dot(Point3D a, Point3D b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
constexpr Point3D cross(Point3D a, Point3D b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Point3D a) {
    return std::sqrt(dot(a, a));
}

}  // namespace corvelt
