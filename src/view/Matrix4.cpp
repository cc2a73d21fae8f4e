#include "view/Matrix4.h"

#include <cmath>
#include <utility>

namespace corvelt {

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 result{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += a[4 * r + k] * b[4 * k + c];
            result[4 * r + c] = sum;
        }
    return result;
}

Point3D transformPoint(const Matrix4& m, Point3D p) {
    return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12],
            p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
            p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
}

std::optional<Matrix4> invertMatrix4(const Matrix4& source) {
    Matrix4 d = source;
    auto at = [&d](int r, int c) -> double& { return d[4 * r + c]; };
    int pivotRow[4] = {0, 0, 0, 0};
    int pivotColumn[4] = {0, 0, 0, 0};

    for (int k = 0; k < 4; ++k) {
        // Largest magnitude in the remaining block; ties keep the first in row-major order.
        double best = 0.0;
        for (int i = k; i < 4; ++i)
            for (int j = k; j < 4; ++j)
                if (std::fabs(at(i, j)) > best) {
                    best = std::fabs(at(i, j));
                    pivotRow[k] = i;
                    pivotColumn[k] = j;
                }
        if (best + 1.0 == 1.0) return std::nullopt;

        if (pivotRow[k] != k)
            for (int j = 0; j < 4; ++j)
                std::swap(at(k, j), at(pivotRow[k], j));
        if (pivotColumn[k] != k)
            for (int i = 0; i < 4; ++i)
                std::swap(at(i, k), at(i, pivotColumn[k]));

        at(k, k) = 1.0 / at(k, k);
        for (int j = 0; j < 4; ++j)
            if (j != k) at(k, j) *= at(k, k);
        for (int i = 0; i < 4; ++i)
            if (i != k)
                for (int j = 0; j < 4; ++j)
                    if (j != k) at(i, j) -= at(k, j) * at(i, k);
        for (int i = 0; i < 4; ++i)
            if (i != k) at(i, k) = -(at(k, k) * at(i, k));
    }

    for (int k = 3; k >= 0; --k) {
        if (pivotColumn[k] != k)
            for (int j = 0; j < 4; ++j)
                std::swap(at(k, j), at(pivotColumn[k], j));
        if (pivotRow[k] != k)
            for (int i = 0; i < 4; ++i)
                std::swap(at(i, k), at(i, pivotRow[k]));
    }
    return d;
}

Matrix4 axisRotationMatrix(Point3D a, Point3D b, double angle) {
    const Point3D axis = b - a;
    const double axisLength = length(axis);
    const double ux = axis.x / axisLength, uy = axis.y / axisLength, uz = axis.z / axisLength;
    const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;

    const Matrix4 rotation{c * (uy * uy + uz * uz) + ux * ux,
                           ux * uy * t + uz * s,
                           ux * uz * t - uy * s,
                           0,
                           ux * uy * t - uz * s,
                           t * uy * uy + c,
                           uy * uz * t + ux * s,
                           0,
                           uy * s + ux * uz * t,
                           uy * uz * t - ux * s,
                           c + t * uz * uz,
                           0,
                           0,
                           0,
                           0,
                           1};
    Matrix4 toAxis = identityMatrix();
    toAxis[12] = -a.x;
    toAxis[13] = -a.y;
    toAxis[14] = -a.z;
    Matrix4 back = identityMatrix();
    back[12] = a.x;
    back[13] = a.y;
    back[14] = a.z;
    return multiply(multiply(toAxis, rotation), back);
}

}  // namespace corvelt
