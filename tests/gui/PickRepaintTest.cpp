// After picks and moves of the rubber band the window repaints only the rows that
// change, over the frame it keeps. The picture must be the very one of a whole frame.

#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandId.h"
#include "app/DialogControlId.h"
#include "gui/FrameImage.h"
#include "gui/QtCanvas.h"
#include "samples/PressurizedCylinder.h"

namespace corvelt {
namespace {

// Notes whether a whole frame was painted: that one clears the whole canvas.
class WatchedCanvas : public QtCanvas {
  public:
    using QtCanvas::QtCanvas;
    void clear(Rgb colour) override {
        wholeFrame = true;
        QtCanvas::clear(colour);
    }
    bool wholeFrame = false;
};

struct Step {
    std::string name;
    std::function<void(Application&)> input;
    bool wholeFrame = false;  // what the input changes needs one
};

// Enough elements for both threads (20,000); the elements are a few pixels wide.
std::unique_ptr<Application> cylinderApplication() {
    auto app = std::make_unique<Application>();
    app->resize(640, 480);
    app->adoptFile(samples::generateCylinderResult(samples::cylinderWithElementCount(24000)),
                   "cylinder.txt");
    return app;
}

void expectWholeFramePictures(const std::vector<int>& plotCommands) {
    // One application paints as the window does, the other whole frames only.
    const std::unique_ptr<Application> window = cylinderApplication();
    const std::unique_ptr<Application> reference = cylinderApplication();
    const auto mode = [](InteractionMode m, bool rectangle) {
        return [=](Application& app) {
            app.setInteractionMode(m);
            app.setRectanglePick(rectangle);
        };
    };
    const auto click = [](int x, int y) {
        return [=](Application& app) { app.leftButtonDown(x, y); };
    };
    const auto move = [](int x, int y) { return [=](Application& app) { app.mouseMove(x, y); }; };
    const auto key = [](char32_t c) { return [=](Application& app) { app.character(c); }; };
    const auto command = [](int id) { return [=](Application& app) { app.command(id); }; };
    const auto invert = [](Application& app) {
        app.pressDialogControl(app.newestDialog(DialogKind::selectElements)->id,
                               SelectElementsControl::invert);
    };
    std::vector<Step> steps{
        {"first frame", [](Application&) {}, true},
        {"element pick mode", mode(InteractionMode::pickElements, false)},
        {"point pick", click(320, 240)},
        {"the same point again", click(320, 240)},
        {"another point", click(250, 300)},
        {"Esc", key(escapeCharacter)},
        {"undo Esc", command(undoCommand)},
        {"redo Esc", command(redoCommand)},
        {"undo Esc again", command(undoCommand)},
        {"rectangle mode", mode(InteractionMode::pickElements, true)},
        {"first corner", click(200, 150)},
        {"rubber band", move(420, 330)},
        {"rubber band back", move(380, 200)},
        {"window", click(420, 330)},
        {"crossing first corner", click(330, 300)},
        {"crossing band", move(250, 60)},
        {"crossing", click(250, 60)},
        {"all rows first corner", click(630, 470)},
        {"all rows", click(5, 5)},
        {"unpick rectangle", mode(InteractionMode::unpickElements, true)},
        {"unpick first corner", click(260, 120)},
        {"unpick", click(360, 250)},
        {"node point pick", mode(InteractionMode::pickNodes, false)},
        {"first node", click(100, 200)},
        {"second node", click(330, 260)},
        {"node unpick", mode(InteractionMode::unpickNodes, false)},
        {"unpicked node", click(100, 200)},
        {"last node unpicked", click(330, 260)},
        {"zoom box", key(U'z')},
        {"zoom box corner", click(100, 100)},
        {"zoom box band", move(200, 420)},
        {"Turn Mode drops the band", command(turnModeCommand)},
        {"element dialog", command(selectElementsCommand), true},
        {"invert", invert, true},
        {"undo invert", command(undoCommand), true},
        {"redo invert", command(redoCommand), true},
        {"turn", [](Application& app) { app.keyDown(ArrowKey::left); }, true},
    };
    for (const int command : plotCommands) {
        window->command(command);
        reference->command(command);
    }
    QImage kept(640, 480, QImage::Format_RGB32);
    std::optional<std::uint64_t> shown;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.input(*window);
        step.input(*reference);
        {
            WatchedCanvas canvas(kept);
            shown = window->paint(canvas, 1.0, shown);
            canvas.finish();
            EXPECT_EQ(canvas.wholeFrame, step.wholeFrame);
        }
        EXPECT_TRUE(kept == renderFrame(*reference));
    }
}

// Outlines over the contour: picks change both. The peak markers are drawn again
// in the rows that change.
TEST(PickRepaint, MatchesWholeFrames) {
    expectWholeFramePictures({plotAllElementOutlinesCommand, showMinMaxCommand});
}

}  // namespace
}  // namespace corvelt
