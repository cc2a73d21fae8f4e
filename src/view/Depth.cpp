#include "view/Depth.h"

#include "base/FiniteArithmetic.h"
#include "model/ShellModel.h"
#include "view/ViewCamera.h"

namespace corvelt {

double nodeDepth(const ShellModel& model, const ViewCamera& camera, std::int32_t node) {
    return -camera.viewDepth(model.nodes[node]);
}

double elementDepth(const ShellModel& model, const ViewCamera& camera, std::int32_t element) {
    const std::int32_t* c = model.elementCorners(element);
    const Point3D& p0 = model.nodes[c[0]];
    const Point3D& p1 = model.nodes[c[1]];
    const Point3D& p2 = model.nodes[c[2]];
    const Point3D& p3 = model.nodes[c[3]];
    return -camera.viewDepth({meanOfFour(p0.x, p1.x, p2.x, p3.x),
                              meanOfFour(p0.y, p1.y, p2.y, p3.y),
                              meanOfFour(p0.z, p1.z, p2.z, p3.z)});
}

}  // namespace corvelt
