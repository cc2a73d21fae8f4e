#include "view/Depth.h"

#include "model/ShellModel.h"
#include "view/ViewCamera.h"

namespace corvelt {

double nodeDepth(const ShellModel& model, const ViewCamera& camera, std::int32_t node) {
    return -camera.viewDepth(model.nodes[node]);
}

double elementDepth(const ShellModel& model, const ViewCamera& camera, std::int32_t element) {
    const std::int32_t* corners = model.elementCorners(element);
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (int j = 0; j < ShellModel::nodesPerElement; ++j) {
        const Point3D& p = model.nodes[corners[j]];
        sx += p.x;
        sy += p.y;
        sz += p.z;
    }
    return -camera.viewDepth({sx * 0.25, sy * 0.25, sz * 0.25});
}

}  // namespace corvelt
