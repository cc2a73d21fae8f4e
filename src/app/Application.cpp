#include "app/Application.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/CommandId.h"
#include "formats/ResultFileFormats.h"
#include "render/Canvas.h"
#include "render/RubberBands.h"
#include "view/Projection.h"

namespace corvelt {

namespace {

// The camera that maps the same view onto a canvas of pixelRatio device pixels per
// client pixel: origin and scale grow by the ratio, the view matrix stays.
ViewCamera onDevicePixels(const ViewCamera& camera, const Canvas& canvas, double pixelRatio) {
    ViewCamera device = camera;
    device.screenWidth = canvas.width();
    device.screenHeight = canvas.height();
    const auto grown = [pixelRatio](std::int32_t pixel) {
        constexpr double low = std::numeric_limits<std::int32_t>::min();
        constexpr double high = std::numeric_limits<std::int32_t>::max();
        return static_cast<std::int32_t>(std::clamp(std::round(pixel * pixelRatio), low, high));
    };
    device.originX = grown(camera.originX);
    device.originY = grown(camera.originY);
    device.scale = camera.scale * pixelRatio;
    return device;
}

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
        case legendCommand:
            return DialogKind::legend;
        default:
            return std::nullopt;
    }
}

bool isPickMode(InteractionMode mode) {
    return mode == InteractionMode::pickElements || mode == InteractionMode::pickNodes ||
           mode == InteractionMode::unpickElements || mode == InteractionMode::unpickNodes;
}

// Reading takes most of a load; making the result ready to show, the rest.
constexpr double readShareOfLoad = 0.8;

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

LoadSettings Application::loadSettings() const {
    return {camera_, state_.viewAlphaDegrees, state_.viewBetaDegrees, model_.contourComponent,
            model_.contourFace};
}

PreparedResult Application::prepareFile(const std::filesystem::path& path,
                                        const LoadSettings& settings,
                                        const ReadProgress& progress) {
    ReadProgress readProgress;
    if (progress)
        readProgress = [&progress](double fraction) {
            return progress(readShareOfLoad * fraction);
        };
    ResultFile file = readResultFileOfAnyFormat(path, readProgress);
    PreparedResult prepared =
        prepareResult(std::move(file.data), settings, progress, readShareOfLoad);
    prepared.warning = std::move(file.warning);
    return prepared;
}

PreparedResult Application::prepareResult(ResultData&& data, const LoadSettings& settings,
                                          const ReadProgress& progress, double start) {
    constexpr int parts = 2 + FramePainter::preparationParts;
    int partsDone = 0;
    const auto partDone = [&] {
        ++partsDone;
        if (progress && !progress(start + (1.0 - start) * partsDone / parts)) throw ReadCancelled();
    };

    requireDrawableMesh(data);
    PreparedResult prepared;
    prepared.settings = settings;
    prepared.model.contourComponent = settings.contourComponent;
    prepared.model.contourFace = settings.contourFace;
    prepared.model.adoptResult(std::move(data));
    partDone();

    prepared.camera = settings.camera;
    copyWorldBox(prepared.model, prepared.camera);
    setViewAngles(prepared.model, prepared.camera, degreesToRadians(settings.alphaDegrees),
                  degreesToRadians(settings.betaDegrees));
    fitAll(prepared.model, prepared.camera);
    partDone();

    prepared.painter.prepare(prepared.model, prepared.camera, partDone);
    return prepared;
}

void Application::adoptPrepared(PreparedResult&& prepared, const std::filesystem::path& path) {
    model_.adoptMeshOf(std::move(prepared.model));
    painter_.adoptPrepared(std::move(prepared.painter));
    camera_ = prepared.camera;
    state_.modelLoaded = true;
    state_.resultFileName = path.string();
    history_.clear();
    // The window may have been resized while the file was read.
    const LoadSettings& settings = prepared.settings;
    if (settings.camera.screenWidth != state_.clientWidth ||
        settings.camera.screenHeight != state_.clientHeight ||
        settings.alphaDegrees != state_.viewAlphaDegrees ||
        settings.betaDegrees != state_.viewBetaDegrees) {
        camera_.screenWidth = state_.clientWidth;
        camera_.screenHeight = state_.clientHeight;
        showAtStoredAngles(true);
    }
    requestRepaint();
}

void Application::adoptFile(ResultData&& data, const std::filesystem::path& path) {
    adoptPrepared(prepareResult(std::move(data), loadSettings()), path);
}

std::string Application::openFile(const std::filesystem::path& path,
                                  const ReadProgress& progress) {
    PreparedResult prepared = prepareFile(path, loadSettings(), progress);
    std::string warning = std::move(prepared.warning);
    adoptPrepared(std::move(prepared), path);
    return warning;
}

CommandOutcome Application::command(int id) {
    switch (id) {
        case turnModeCommand:
            turnMode();
            return CommandOutcome::done;
        case undoCommand:
        case redoCommand:
            return stepHistory(id == redoCommand) ? CommandOutcome::repaint : CommandOutcome::done;
        default:
            break;
    }
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

std::uint64_t Application::paint(Canvas& canvas, double pixelRatio,
                                 std::optional<std::uint64_t> canvasHolds) {
    if (pixelRatio != 1.0 || canvasHolds != frameNumber_ || !paintPickChanges(canvas))
        paintWholeFrame(canvas, pixelRatio);
    wholeFrameDue_ = false;
    shownWithModel_ = state_.modelLoaded;
    return ++frameNumber_;
}

std::optional<RectangleOverlay> Application::overlay() const {
    // The rubber band of a two-click gesture whose first point is taken.
    if (state_.clickStage != 1) return std::nullopt;
    const Pixel anchor{state_.dragAnchorX, state_.dragAnchorY};
    const Pixel current{state_.dragCurrentX, state_.dragCurrentY};
    if (isPickMode(state_.interactionMode) && state_.rectanglePick == 1)
        return RectangleOverlay{false, anchor, current};
    if (state_.interactionMode == InteractionMode::zoomBox)
        return RectangleOverlay{true, anchor, current};
    return std::nullopt;
}

void Application::paintWholeFrame(Canvas& canvas, double pixelRatio) {
    canvas.clear(state_.backgroundColor());
    shownOverlay_.reset();
    if (!state_.modelLoaded) return;
    const FrameOptions options{state_.showMinMax, pixelRatio, state_.legend,
                               state_.backgroundColor()};
    if (pixelRatio == 1.0)
        painter_.paintFrame(model_, camera_, canvas, options);
    else
        painter_.paintFrame(model_, onDevicePixels(camera_, canvas, pixelRatio), canvas, options);
    shownElementPicks_ = model_.elementPicked;
    shownNodePicks_ = model_.nodePicked;
    shownOverlay_ = overlay();
    if (shownOverlay_) drawRectangleOverlay(canvas, *shownOverlay_, pixelRatio);
}

namespace {

// The items whose flags differ from the kept ones, which are brought up to date.
std::vector<std::int32_t> takeChanges(const std::vector<std::uint8_t>& flags,
                                      std::vector<std::uint8_t>& kept) {
    std::vector<std::int32_t> changed;
    const std::size_t count = flags.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (flags[i] == kept[i]) continue;
        kept[i] = flags[i];
        changed.push_back(static_cast<std::int32_t>(i));
    }
    return changed;
}

}  // namespace

// Only the rows that changed picks and the rubber band reach are drawn again, from
// the background up, exactly as a whole frame draws them.
bool Application::paintPickChanges(Canvas& canvas) {
    if (wholeFrameDue_ || !state_.modelLoaded || !shownWithModel_ ||
        shownElementPicks_.size() != model_.elementPicked.size() ||
        shownNodePicks_.size() != model_.nodePicked.size())
        return false;
    const std::vector<std::int32_t> elements =
        takeChanges(model_.elementPicked, shownElementPicks_);
    const std::vector<std::int32_t> nodes = takeChanges(model_.nodePicked, shownNodePicks_);
    std::optional<RowRange> rows = painter_.updatePicks(model_, camera_, canvas, elements, nodes);
    if (!rows) return false;
    const std::optional<RectangleOverlay> now = overlay();
    if (now != shownOverlay_) {
        if (shownOverlay_) rows = rows->united(rowsOf(*shownOverlay_));
        if (now) rows = rows->united(rowsOf(*now));
        rows = rows->clampedTo(canvas.height());
    }
    shownOverlay_ = now;
    if (rows->empty()) return true;
    const std::unique_ptr<Canvas> band = canvas.rowBand(rows->first, rows->end);
    if (!band) return false;
    band->clear(state_.backgroundColor());
    painter_.paintRows(model_, camera_, *band, *rows);
    if (now) drawRectangleOverlay(*band, *now);
    return true;
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
    showPlotOptionsInDialogs();
}

void Application::setOnlyFromSelectedNodes(bool only) {
    state_.onlyFromSelectedNodes = only;
    showPlotOptionsInDialogs();
}

std::optional<ProbeReading> Application::probe(std::int32_t x, std::int32_t y) {
    if (!state_.modelLoaded || x < 0 || y < 0 || x >= camera_.screenWidth ||
        y >= camera_.screenHeight)
        return std::nullopt;
    const Point2D point = camera_.pixelToView({x, y});
    const std::optional<std::int32_t> element = locator_.elementAt(model_, camera_, point);
    if (!element) return std::nullopt;
    return readElementAt(model_, camera_, *element, point);
}

void Application::prepareProbe() {
    if (state_.modelLoaded) locator_.prepare(model_, camera_);
}

void Application::changeFlags(std::string_view name, unsigned arrays,
                              const std::function<void()>& change) {
    const SelectionHistory::Before before = SelectionHistory::before(model_, arrays);
    change();
    history_.record(model_, before, name);
}

// A step back or forth changes only flags: picks alone repaint only the rows they
// touch, a change of the selection (the contour and its limits follow it) a whole
// frame.
bool Application::stepHistory(bool forward) {
    const unsigned changed = forward ? history_.redo(model_) : history_.undo(model_);
    if ((changed & selectedFlags) != 0)
        requestRepaint();
    else if (changed != 0)
        requestPickRepaint();
    return changed != 0;
}

std::string Application::undoText() const {
    const std::optional<std::string_view> name = history_.nextUndo();
    return name ? "Undo " + std::string(*name) : "Undo";
}

std::string Application::redoText() const {
    const std::optional<std::string_view> name = history_.nextRedo();
    return name ? "Redo " + std::string(*name) : "Redo";
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
