#include "samples/PressurizedCylinder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "model/PrincipalStress.h"

namespace corvelt::samples {

namespace {

using Matrix3 = std::array<std::array<double, 3>, 3>;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// Cosine and sine, exact where the angle lies on an axis, so that nodes on the
// symmetry planes get coordinates of exactly 0 rather than 6e-14.
std::pair<double, double> exactOnAxes(double degrees, double theta) {
    const double quarterTurns = degrees / 90.0;
    if (quarterTurns != std::round(quarterTurns)) return {std::cos(theta), std::sin(theta)};
    static constexpr std::array<std::pair<double, double>, 4> axes{
        {{1.0, 0.0}, {0.0, 1.0}, {-1.0, 0.0}, {0.0, -1.0}}};
    const auto quarter = static_cast<long long>(std::round(quarterTurns));
    return axes[static_cast<std::size_t>(((quarter % 4) + 4) % 4)];
}

bool closesTube(const CylinderSample& sample) {
    return sample.sweepDegrees >= 360.0;
}

std::int32_t hoopNodeCount(const CylinderSample& sample) {
    return closesTube(sample) ? sample.hoopElements : sample.hoopElements + 1;
}

// sigma_world = R sigma_local R^T with the local axes as the columns of R.
Matrix3 rotateToWorld(const Matrix3& local, double theta) {
    const double s = std::sin(theta), c = std::cos(theta);
    const Matrix3 axes{{{1.0, 0.0, 0.0}, {0.0, -s, c}, {0.0, c, s}}};  // rows: world x, y, z
    Matrix3 world{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int a = 0; a < 3; ++a)
                for (int b = 0; b < 3; ++b)
                    world[i][j] += axes[i][a] * local[a][b] * axes[j][b];
    return world;
}

}  // namespace

WallSurfaces wallStressAt(const CylinderSample& sample, double x) {
    const double r = sample.radius, t = sample.thickness, p = sample.pressure;
    const double e = sample.youngsModulus, nu = sample.poissonRatio;
    const double bending = e * t * t * t / (12.0 * (1.0 - nu * nu));
    const double beta = std::pow(3.0 * (1.0 - nu * nu), 0.25) / std::sqrt(r * t);
    const double farGrowth = p * r * r * (1.0 - nu / 2.0) / (e * t);

    const double decay = std::exp(-beta * x);
    const double c = std::cos(beta * x), s = std::sin(beta * x);
    const double growth = farGrowth * (1.0 - decay * (c + s));
    const double moment = -2.0 * bending * beta * beta * farGrowth * decay * (c - s);
    const double shearForce = 4.0 * bending * beta * beta * beta * farGrowth * decay * c;

    const double axialMembrane = p * r / (2.0 * t);
    const double hoopMembrane = e * growth / r + nu * axialMembrane;
    const double axialBending = 6.0 * moment / (t * t);
    const double shear = shearForce / t;

    WallSurfaces surfaces;
    surfaces.outer = {axialMembrane + axialBending, hoopMembrane + nu * axialBending, 0.0, shear};
    surfaces.inner = {axialMembrane - axialBending, hoopMembrane - nu * axialBending, -p, shear};
    return surfaces;
}

StressRecord worldStress(const WallStress& local, double theta) {
    // Local axes in order axial, hoop, normal; no in-plane shear, no hoop-normal shear.
    const Matrix3 tensor{{{local.axial, 0.0, local.transverseShear},
                          {0.0, local.hoop, 0.0},
                          {local.transverseShear, 0.0, local.normal}}};
    const Matrix3 w = rotateToWorld(tensor, theta);
    StressRecord record{w[0][0], w[1][1], w[2][2], w[0][1], w[0][2], w[1][2], 0.0};
    record[Se] = vonMisesStress(record);
    return record;
}

CylinderSample cylinderWithElementCount(std::int64_t elementCount, double sweepDegrees) {
    CylinderSample sample;
    sample.sweepDegrees = sweepDegrees;
    const double arc = sample.radius * radians(sweepDegrees);
    const double target = static_cast<double>(std::max<std::int64_t>(elementCount, 1));
    const double hoop = std::max(1.0, std::round(std::sqrt(target * arc / sample.length)));
    sample.hoopElements = static_cast<std::int32_t>(hoop);
    sample.axialElements = static_cast<std::int32_t>(std::max(1.0, std::round(target / hoop)));
    return sample;
}

ResultData generateCylinderResult(const CylinderSample& sample) {
    const std::int32_t axialNodes = sample.axialElements + 1;
    const std::int32_t hoopNodes = hoopNodeCount(sample);
    const auto nodeIndex = [hoopNodes](std::int32_t i, std::int32_t j) {
        return i * hoopNodes + j % hoopNodes;
    };

    ResultData data;
    const auto nodeCount =
        static_cast<std::size_t>(axialNodes) * static_cast<std::size_t>(hoopNodes);
    data.nodes.reserve(nodeCount);
    std::vector<std::array<StressRecord, 2>> nodeStress;  // outer, inner
    nodeStress.reserve(nodeCount);
    for (std::int32_t i = 0; i < axialNodes; ++i) {
        const double x = sample.length * i / sample.axialElements;
        const WallSurfaces wall = wallStressAt(sample, x);
        for (std::int32_t j = 0; j < hoopNodes; ++j) {
            const double degrees =
                sample.startDegrees + sample.sweepDegrees * j / sample.hoopElements;
            const double theta = radians(degrees);
            const auto [c, s] = exactOnAxes(degrees, theta);
            data.nodes.push_back({x, sample.radius * c, sample.radius * s});
            nodeStress.push_back({worldStress(wall.outer, theta), worldStress(wall.inner, theta)});
        }
    }

    const auto elementCount = static_cast<std::size_t>(sample.axialElements) * sample.hoopElements;
    data.connectivity.reserve(elementCount * ShellModel::nodesPerElement);
    data.elementStresses.reserve(elementCount);
    for (std::int32_t i = 0; i < sample.axialElements; ++i) {
        for (std::int32_t j = 0; j < sample.hoopElements; ++j) {
            const std::array<std::int32_t, 4> corners{nodeIndex(i, j), nodeIndex(i, j + 1),
                                                      nodeIndex(i + 1, j + 1), nodeIndex(i + 1, j)};
            ElementStressBlock block;
            for (int corner = 0; corner < ShellModel::nodesPerElement; ++corner) {
                data.connectivity.push_back(corners[corner]);
                for (int surface = 0; surface < 2; ++surface)
                    block.surfaces[surface][corner] =
                        nodeStress[static_cast<std::size_t>(corners[corner])][surface];
            }
            data.elementStresses.push_back(block);
        }
    }
    return data;
}

}  // namespace corvelt::samples
