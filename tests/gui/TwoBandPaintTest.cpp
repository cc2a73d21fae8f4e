// Big frames are filled by two threads, each in its own band of rows. The picture
// must be the very one that a single pass paints.

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <memory>

#include "OneThreadCanvas.h"
#include "gui/QtCanvas.h"
#include "model/ShellModel.h"
#include "render/FramePainter.h"
#include "render/RowBandCanvas.h"
#include "samples/PressurizedCylinder.h"
#include "view/Projection.h"
#include "view/Rotation.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

template <typename CanvasType>
QImage paint(const ShellModel& model, const ViewCamera& camera, const FrameOptions& options) {
    QImage image(camera.screenWidth, camera.screenHeight, QImage::Format_RGB32);
    FramePainter painter;
    CanvasType canvas(image);
    canvas.clear(Rgb{0, 0, 0});
    painter.paintFrame(model, camera, canvas, options);
    canvas.finish();
    return image;
}

class TwoBandPaint : public ::testing::Test {
  protected:
    void SetUp() override {
        model.adoptResult(
            samples::generateCylinderResult(samples::cylinderWithElementCount(40000)));
        copyWorldBox(model, camera);
        const double pi = std::acos(-1.0);
        setViewAngles(model, camera, pi * 0.25, pi * 0.1958888888888889);
        resizeView(model, camera, 640, 480);
    }

    void expectSamePicture(const FrameOptions& options = {}) {
        const QImage twoBands = paint<QtCanvas>(model, camera, options);
        const QImage onePass = paint<OneThreadCanvas>(model, camera, options);
        EXPECT_TRUE(twoBands == onePass);
    }

    ShellModel model;
    ViewCamera camera;
};

TEST_F(TwoBandPaint, ContourMatchesOnePass) {
    expectSamePicture();
}

TEST_F(TwoBandPaint, TurnedZoomedAndPannedContourMatchesOnePass) {
    rotateAboutScreenX(camera, 0.7);
    rotateAboutScreenY(camera, -1.9);
    projectAllNodes(model, camera);
    camera.zoomAtPoint({200, 300}, true);
    for (int i = 0; i < 20; ++i)
        camera.zoomAtPoint({200, 300}, true);
    camera.panBy(-150, 90);
    expectSamePicture();
}

TEST_F(TwoBandPaint, FilledElementsWithPicksMatchOnePass) {
    model.contourOn = false;
    model.elementPlot = PlotScope::selected;
    for (std::size_t e = 0; e < model.elementSelected.size(); e += 3)
        model.elementSelected[e] = 0;
    for (std::size_t e = 0; e < model.elementPicked.size(); e += 7)
        model.elementPicked[e] = 1;
    // A picked element's outline is drawn whatever the scope: one pass then.
    expectSamePicture();
    // Both bands draw the wider pens and markers of a high-resolution screen.
    model.nodePlot = PlotScope::all;
    expectSamePicture({.peakMarkers = true, .pixelRatio = 2.0});
    std::fill(model.elementPicked.begin(), model.elementPicked.end(), 0);
    expectSamePicture();
}

TEST(RowBandCanvas, FillsOnlyItsRows) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::black);
    QtCanvas canvas(image);
    const std::unique_ptr<Canvas> band = canvas.polygonRowBand(2, 5);
    ASSERT_TRUE(band);
    EXPECT_EQ(band->width(), 8);
    EXPECT_EQ(band->height(), 8);
    const Pixel square[] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
    band->fillPolygon(square, Rgb{255, 255, 255});
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(image.pixel(3, y) & 0xFFFFFF, (y >= 2 && y < 5) ? 0xFFFFFFu : 0u) << "row " << y;
    EXPECT_THROW(band->drawText({0, 0}, "1", Font{}, Rgb{}), std::logic_error);
}

}  // namespace
}  // namespace corvelt
