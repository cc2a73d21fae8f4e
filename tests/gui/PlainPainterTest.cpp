// The frame painter leaves out what cannot show (contour triangles that cover no
// pixel centre, node markers that a later drawing of the same marker covers) and
// draws big frames in two bands of rows at once. Its pictures must be those of the
// plain painter: every element in the far-to-near order with all its layers, every
// triangle cut into bands, every marker of every element, in one pass.

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <memory>
#include <ostream>

#include "OneThreadCanvas.h"
#include "gui/QtCanvas.h"
#include "model/ShellModel.h"
#include "render/ColorLegend.h"
#include "render/DepthOrder.h"
#include "render/FramePainter.h"
#include "render/MeshDrawing.h"
#include "render/PaintContext.h"
#include "render/Shading.h"
#include "render/StressContour.h"
#include "samples/PressurizedCylinder.h"
#include "view/Projection.h"
#include "view/Rotation.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

void paintPlainly(const ShellModel& model, const ViewCamera& camera, Canvas& canvas) {
    PaintContext context(model, camera, canvas);
    BandLimits limits;
    const bool haveLimits = computeBandLimits(model, limits, model.contourComponent);
    const std::optional<Point3D> light = placeLight(model, camera);
    std::vector<std::int32_t> order;
    orderElementsByDepth(model, camera, order);
    for (const std::int32_t e : order) {
        const ProjectedCorners corners = projectedCorners(model, e);
        const ScreenReach reach = context.screen.reach(boundingBox(corners));
        if (reach == ScreenReach::hidden) continue;
        const double shading = shadingFactor(model, camera, light, e);
        if (model.contourOn && haveLimits && model.elementSelected[e]) {
            const auto f = facingCornerValues(model, camera.viewAxis(), e, model.contourComponent);
            const Point2D centre = contourCentre(corners);
            const double centreValue = 0.25 * (f[0] + f[1] + f[2] + f[3]);
            for (int j = 0; j < 4; ++j)
                fillTriangleBands(context, {centre, corners[j], corners[(j + 1) % 4]},
                                  {centreValue, f[j], f[(j + 1) % 4]}, limits, shading, reach);
        }
        drawElementOutline(context, e, corners, reach);
        drawElementFill(context, e, corners, shading, reach);
        drawElementNodes(context, e);
    }
    drawNodeNumbers(context, model.nodeNumberPlot);
    drawElementNumbers(context, model.elementNumberPlot);
    drawLegend(canvas, camera, model.colorTable, limits);
}

template <typename CanvasType>
QImage paint(const ShellModel& model, const ViewCamera& camera, bool plain) {
    QImage image(camera.screenWidth, camera.screenHeight, QImage::Format_RGB32);
    CanvasType canvas(image);
    canvas.clear(Rgb{0, 0, 0});
    if (plain) {
        paintPlainly(model, camera, canvas);
    } else {
        FramePainter painter;
        painter.paintFrame(model, camera, canvas);
    }
    canvas.finish();
    return image;
}

struct Scene {
    const char* name;
    std::int64_t elements;
    int width;
    int height;
    int zoomSteps;
    bool mesh;
};

void PrintTo(const Scene& scene, std::ostream* out) {
    *out << scene.name;
}

class PlainPainter : public ::testing::TestWithParam<Scene> {};

TEST_P(PlainPainter, PaintsTheSamePicture) {
    const Scene& scene = GetParam();
    ShellModel model;
    ViewCamera camera;
    model.adoptResult(
        samples::generateCylinderResult(samples::cylinderWithElementCount(scene.elements)));
    copyWorldBox(model, camera);
    setViewAngles(model, camera, 0.7, 0.4);
    resizeView(model, camera, scene.width, scene.height);
    rotateAboutScreenX(camera, 0.3);
    projectAllNodes(model, camera);
    for (int step = 0; step < scene.zoomSteps; ++step)
        camera.zoomAtPoint({scene.width / 3, scene.height / 2}, true);
    if (scene.mesh) {
        model.elementOutlinePlot = PlotScope::all;
        model.nodePlot = PlotScope::selected;
        model.elementPlot = PlotScope::selected;
        for (std::size_t e = 0; e < model.elementSelected.size(); e += 5)
            model.elementSelected[e] = 0;
        for (std::size_t n = 0; n < model.nodeSelected.size(); n += 3)
            model.nodeSelected[n] = 0;
        for (std::size_t e = 0; e < model.elementPicked.size(); e += 11)
            model.elementPicked[e] = 1;
        for (std::size_t n = 0; n < model.nodePicked.size(); n += 13)
            model.nodePicked[n] = 1;
        model.nodeNumberPlot = PlotScope::selected;
    }
    const QImage plain = paint<OneThreadCanvas>(model, camera, true);
    EXPECT_TRUE(paint<OneThreadCanvas>(model, camera, false) == plain) << "one pass";
    EXPECT_TRUE(paint<QtCanvas>(model, camera, false) == plain) << "in bands";
}

// Elements of a pixel or two, where most triangles cover no pixel centre; bigger
// ones; the mesh layers with picks; and a zoom that puts elements across the guard
// band.
INSTANTIATE_TEST_SUITE_P(Frames, PlainPainter,
                         ::testing::Values(Scene{"tiny", 60000, 400, 300, 0, false},
                                           Scene{"big", 30000, 640, 480, 3, false},
                                           Scene{"mesh", 30000, 640, 480, 0, true},
                                           Scene{"zoomed_mesh", 30000, 640, 480, 40, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvelt
