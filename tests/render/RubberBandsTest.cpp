#include <gtest/gtest.h>

#include "render/RecordingCanvas.h"
#include "render/RubberBands.h"

namespace corvelt {
namespace {

const std::vector<Pixel> rectangleFrom10_20To50_5{{10, 20}, {50, 20}, {50, 5}, {10, 5}};

TEST(RubberBands, ZoomBoxIsASolidWhiteClosedRectangle) {
    RecordingCanvas canvas(100, 100);
    drawZoomBox(canvas, {10, 20}, {50, 5});
    ASSERT_EQ(canvas.calls().size(), 1u);
    const CanvasCall& path = canvas.calls()[0];
    EXPECT_EQ(path.kind, CanvasCall::Kind::drawPath);
    EXPECT_TRUE(path.closed);
    EXPECT_EQ(path.points, rectangleFrom10_20To50_5);
    EXPECT_EQ(path.pen.colour, (Rgb{255, 255, 255}));
    EXPECT_EQ(path.pen.width, 1);
    EXPECT_EQ(path.pen.style, PenStyle::solid);
}

TEST(RubberBands, PickRectangleIsMagentaAndDashedOnlyWhenDraggedLeftward) {
    RecordingCanvas canvas(100, 100);
    drawPickRectangle(canvas, {10, 20}, {50, 5});
    drawPickRectangle(canvas, {50, 5}, {10, 20});
    drawPickRectangle(canvas, {10, 20}, {10, 80});
    ASSERT_EQ(canvas.calls().size(), 3u);
    EXPECT_EQ(canvas.calls()[0].points, rectangleFrom10_20To50_5);
    EXPECT_EQ(canvas.calls()[0].pen.colour, (Rgb{255, 0, 255}));
    EXPECT_EQ(canvas.calls()[0].pen.style, PenStyle::solid);
    EXPECT_EQ(canvas.calls()[1].pen.style, PenStyle::dashed);
    EXPECT_EQ(canvas.calls()[2].pen.style, PenStyle::solid);  // straight down: not leftward
}

}  // namespace
}  // namespace corvelt
