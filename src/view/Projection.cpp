#include "view/Projection.h"

#include "base/ChunkedWork.h"
#include "base/FiniteArithmetic.h"
#include "model/ShellModel.h"
#include "view/ViewCamera.h"

namespace corvelt {

void projectAllNodes(ShellModel& model, const ViewCamera& camera) {
    const Matrix4& m = camera.viewMatrix;
    model.projectedNodes.resize(model.nodes.size());
    const Point3D* nodes = model.nodes.data();
    Point2D* projected = model.projectedNodes.data();
    forEachChunk(model.nodes.size(), 1 << 16, [&](std::size_t, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            const Point3D& p = nodes[i];
            // Coordinates near the ends of the double range can project beyond them;
            // such a node is drawn at the end of the range instead.
            projected[i] = {clampToFinite(p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12]),
                            clampToFinite(p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13])};
        }
    });
}

void setViewAngles(ShellModel& model, ViewCamera& camera, double alpha, double beta) {
    camera.alpha = alpha;
    camera.beta = beta;
    camera.buildViewMatrix(alpha, beta);
    projectAllNodes(model, camera);
}

void fitAll(const ShellModel& model, ViewCamera& camera) {
    if (model.projectedNodes.empty()) return;  // nothing to measure: keep the mapping
    const ProjectedExtent extent = model.projectedExtent();
    camera.viewMinX = extent.minX;
    camera.viewMaxX = extent.maxX;
    camera.viewMinY = extent.minY;
    camera.viewMaxY = extent.maxY;
    camera.fitToExtents();
}

void resizeView(ShellModel& model, ViewCamera& camera, std::int32_t width, std::int32_t height) {
    camera.screenWidth = width;
    camera.screenHeight = height;
    fitAll(model, camera);
    projectAllNodes(model, camera);
}

void copyWorldBox(const ShellModel& model, ViewCamera& camera) {
    camera.worldMinX = model.minX;
    camera.worldMaxX = model.maxX;
    camera.worldMinY = model.minY;
    camera.worldMaxY = model.maxY;
    camera.worldMinZ = model.minZ;
    camera.worldMaxZ = model.maxZ;
}

}  // namespace corvelt
