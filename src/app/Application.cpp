#include "app/Application.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/CommandId.h"
#include "render/Canvas.h"
#include "render/RubberBands.h"
#include "view/Projection.h"

namespace corvelt {

namespace {

double degreesToRadians(double degrees) {
    return std::acos(-1.0) * (degrees / 180.0);
}

std::optional<DialogKind> dialogOpenedBy(int commandId) {
    switch (commandId) {
        case viewKitCommand:
            return DialogKind::viewKit;
        case selectElementsCommand:
            return DialogKind::selectElements;
        case selectNodesCommand:
            return DialogKind::selectNodes;
        default:
            return std::nullopt;
    }
}

bool isPickMode(InteractionMode mode) {
    return mode == InteractionMode::pickElements || mode == InteractionMode::pickNodes ||
           mode == InteractionMode::unpickElements || mode == InteractionMode::unpickNodes;
}

// The reader guarantees this; data from elsewhere must not crash the painters.
void requireDrawableMesh(const ResultData& data) {
    if (data.nodes.empty()) throw std::invalid_argument("the result has no nodes");
    if (data.connectivity.size() != data.elementStresses.size() * ShellModel::nodesPerElement)
        throw std::invalid_argument("the result's connectivity does not match its element count");
    const auto nodeCount = static_cast<std::int64_t>(data.nodes.size());
    const bool cornersInRange =
        std::all_of(data.connectivity.begin(), data.connectivity.end(),
                    [nodeCount](std::int32_t node) { return node >= 0 && node < nodeCount; });
    if (!cornersInRange) throw std::invalid_argument("the result names a node that does not exist");
}

}  // namespace

Application::Application() {
    state_.viewAlphaDegrees = startAlphaDegrees;
    state_.viewBetaDegrees = startBetaDegrees;
    showAtStoredAngles(false);
    resize(defaultClientWidth, defaultClientHeight);
}

ResultData Application::readFile(const std::filesystem::path& path, const ReadProgress& progress) {
    return readResultFile(path, progress);
}

void Application::adoptFile(ResultData&& data, const std::filesystem::path& path) {
    requireDrawableMesh(data);
    model_.adoptResult(std::move(data));
    painter_.invalidate();  // its cached drawing order belongs to the old mesh
    copyWorldBox(model_, camera_);
    state_.modelLoaded = true;
    state_.resultFileName = path.string();
    // A new file is shown as the View Kit last set it, whatever the arrow keys did.
    showAtStoredAngles(true);
    requestRepaint();
}

void Application::openFile(const std::filesystem::path& path, const ReadProgress& progress) {
    adoptFile(readFile(path, progress), path);
}

CommandOutcome Application::command(int id) {
    const CommandOutcome outcome = applyMenuCommand(state_, model_, id);
    if (outcome == CommandOutcome::repaint) requestRepaint();
    if (const std::optional<DialogKind> kind = dialogOpenedBy(id)) {
        openDialog(*kind);
        return CommandOutcome::dialogOpened;
    }
    showPlotOptionsInDialogs();
    return outcome;
}

bool Application::isChecked(int id) const {
    return isMenuItemChecked(state_, id);
}

void Application::resize(std::int32_t width, std::int32_t height) {
    state_.clientWidth = std::max(width, 0);
    state_.clientHeight = std::max(height, 0);
    resizeView(model_, camera_, state_.clientWidth, state_.clientHeight);
    requestRepaint();
}

void Application::paint(Canvas& canvas) {
    canvas.clear(state_.backgroundColor());
    if (!state_.modelLoaded) return;
    painter_.paintFrame(model_, camera_, canvas);

    // The rubber band of a two-click gesture whose first point is taken.
    if (state_.clickStage != 1) return;
    const Pixel anchor{state_.dragAnchorX, state_.dragAnchorY};
    const Pixel current{state_.dragCurrentX, state_.dragCurrentY};
    if (isPickMode(state_.interactionMode) && state_.rectanglePick == 1)
        drawPickRectangle(canvas, anchor, current);
    else if (state_.interactionMode == InteractionMode::zoomBox)
        drawZoomBox(canvas, anchor, current);
}

void Application::applyViewAngles(double alphaDegrees, double betaDegrees, bool fit) {
    state_.viewAlphaDegrees = alphaDegrees;
    state_.viewBetaDegrees = betaDegrees;
    showAtStoredAngles(fit);
    requestRepaint();
}

void Application::fitView() {
    fitAll(model_, camera_);
    requestRepaint();
}

void Application::setInteractionMode(InteractionMode mode) {
    state_.interactionMode = mode;
}

void Application::setRectanglePick(bool rectangle) {
    state_.rectanglePick = rectangle ? 1 : 0;
}

void Application::setOnlyFromSelectedElements(bool only) {
    state_.onlyFromSelectedElements = only;
}

void Application::setOnlyFromSelectedNodes(bool only) {
    state_.onlyFromSelectedNodes = only;
}

bool Application::takeRepaintDue() {
    return std::exchange(repaintDue_, false);
}

void Application::showAtStoredAngles(bool fit) {
    setViewAngles(model_, camera_, degreesToRadians(state_.viewAlphaDegrees),
                  degreesToRadians(state_.viewBetaDegrees));
    if (fit) fitAll(model_, camera_);
}

}  // namespace corvelt
