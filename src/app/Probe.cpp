#include "app/Probe.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/FaceStress.h"
#include "model/ShellModel.h"
#include "render/ProjectedCorners.h"
#include "render/StressContour.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

struct Barycentric {
    std::array<double, 3> weights{};
    bool valid = false;
    double smallest() const { return std::min({weights[0], weights[1], weights[2]}); }
};

Barycentric barycentric(Point2D p, Point2D a, Point2D b, Point2D c) {
    const double area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
    if (area == 0.0 || !std::isfinite(area)) return {};
    const double wb = ((p.x - a.x) * (c.y - a.y) - (c.x - a.x) * (p.y - a.y)) / area;
    const double wc = ((b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y)) / area;
    return {{1.0 - wb - wc, wb, wc}, true};
}

double interpolate(const ProjectedCorners& corners, const std::array<double, 4>& values,
                   Point2D p) {
    Point2D centre;
    for (const Point2D& corner : corners) {
        centre.x += corner.x;
        centre.y += corner.y;
    }
    centre.x *= 0.25;
    centre.y *= 0.25;
    const double centreValue = 0.25 * (values[0] + values[1] + values[2] + values[3]);

    // The triangle that holds the point, or the one it lies least outside of.
    double best = -std::numeric_limits<double>::infinity();
    double value = centreValue;  // an element that the screen shows as a point or a line
    for (int j = 0; j < 4; ++j) {
        const int next = (j + 1) % 4;
        const Barycentric w = barycentric(p, centre, corners[j], corners[next]);
        if (!w.valid || w.smallest() <= best) continue;
        best = w.smallest();
        std::array<double, 3> clamped;
        double sum = 0.0;
        for (int k = 0; k < 3; ++k)
            sum += clamped[k] = std::max(w.weights[k], 0.0);
        value =
            (clamped[0] * centreValue + clamped[1] * values[j] + clamped[2] * values[next]) / sum;
    }
    return value;
}

int nearestCorner(const ProjectedCorners& corners, Point2D p) {
    int nearest = 0;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (int j = 0; j < 4; ++j) {
        const double distance = std::hypot(corners[j].x - p.x, corners[j].y - p.y);
        if (distance < nearestDistance) {
            nearest = j;
            nearestDistance = distance;
        }
    }
    return nearest;
}

}  // namespace

ProbeReading readElementAt(const ShellModel& model, const ViewCamera& camera, std::int32_t element,
                           Point2D point) {
    ProbeReading reading;
    reading.element = element;
    reading.component = isStressQuantity(model.contourComponent) ? model.contourComponent : Se;
    reading.face = model.contourFace;
    reading.surface = facingSurface(model, camera.viewAxis(), element);
    const ProjectedCorners corners = projectedCorners(model, element);
    const ElementStressBlock& block = model.elementStresses[static_cast<std::size_t>(element)];
    std::array<double, 4> values;
    for (int j = 0; j < 4; ++j)
        values[j] = faceValues(block, j, reading.component, reading.face)[reading.surface];
    reading.value = interpolate(corners, values, point);
    reading.corner = nearestCorner(corners, point);
    reading.node = model.elementCorners(element)[reading.corner];
    for (int surface = 0; surface < 2; ++surface)
        reading.cornerStresses[surface] = block.surfaces[surface][reading.corner];
    const StressRecord& first = reading.cornerStresses[0];
    const StressRecord& second = reading.cornerStresses[1];
    const std::array<StressRecord, probedFaceCount> faces{
        first, second, membraneStress(first, second), bendingStress(first, second)};
    for (int face = 0; face < probedFaceCount; ++face)
        for (int q = 0; q < stressQuantityCount; ++q)
            reading.cornerQuantities[face][q] = quantityOf(faces[face], q);
    return reading;
}

}  // namespace corvelt
