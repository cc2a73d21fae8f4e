#include "app/StateDump.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/Application.h"
#include "app/MenuTable.h"
#include "app/Probe.h"

namespace corvelt {

namespace {

// Keys in the order written here, which groups related fields.
using json = nlohmann::ordered_json;

// Incremented when a key changes meaning or disappears.
constexpr int stateFormatVersion = 1;

std::string hexColor(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.red, colour.green, colour.blue);
    return text;
}

int number(PlotScope scope) {
    return static_cast<int>(scope);
}
int number(InteractionMode mode) {
    return static_cast<int>(mode);
}
int number(SelectMode mode) {
    return static_cast<int>(mode);
}

std::vector<std::int32_t> setIndices(const std::vector<std::uint8_t>& flags) {
    std::vector<std::int32_t> indices;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i] != 0) indices.push_back(static_cast<std::int32_t>(i));
    return indices;
}

json appStateJson(const AppState& s) {
    return {
        {"contourOn", s.contourOn},
        {"elementOutlinePlot", number(s.elementOutlinePlot)},
        {"nodePlot", number(s.nodePlot)},
        {"elementPlot", number(s.elementPlot)},
        {"nodeNumberPlot", number(s.nodeNumberPlot)},
        {"elementNumberPlot", number(s.elementNumberPlot)},
        {"componentIndex", s.componentIndex},
        {"checkedComponentItem", s.checkedComponentItem()},
        {"checkedBackgroundItem", s.checkedBackgroundItem()},
        {"backgroundColors",
         json::array({hexColor(s.backgroundColors[0]), hexColor(s.backgroundColors[1])})},
        {"backgroundIndex", s.backgroundIndex},
        {"showMinMax", s.showMinMax},
        {"modelLoaded", s.modelLoaded},
        {"clientWidth", s.clientWidth},
        {"clientHeight", s.clientHeight},
        {"viewKitDialogOpen", s.viewKitDialogOpen},
        {"selectElementsDialogOpen", s.selectElementsDialogOpen},
        {"selectNodesDialogOpen", s.selectNodesDialogOpen},
        {"resultFileName", s.resultFileName},
        {"viewAlphaDegrees", s.viewAlphaDegrees},
        {"viewBetaDegrees", s.viewBetaDegrees},
        {"rotationStep", s.rotationStep},
        {"interactionMode", number(s.interactionMode)},
        {"clickStage", s.clickStage},
        {"rectanglePick", s.rectanglePick},
        {"lastMouseX", s.lastMouseX},
        {"lastMouseY", s.lastMouseY},
        {"dragAnchorX", s.dragAnchorX},
        {"dragAnchorY", s.dragAnchorY},
        {"dragCurrentX", s.dragCurrentX},
        {"dragCurrentY", s.dragCurrentY},
        {"panAnchorX", s.panAnchorX},
        {"panAnchorY", s.panAnchorY},
        {"onlyFromSelectedElements", s.onlyFromSelectedElements},
        {"onlyFromSelectedNodes", s.onlyFromSelectedNodes},
        {"elementSelectMode", number(s.elementSelectMode)},
        {"nodeSelectMode", number(s.nodeSelectMode)},
        {"elementSelectionFileName", s.elementSelectionFileName},
        {"nodeSelectionFileName", s.nodeSelectionFileName},
    };
}

json cameraJson(const ViewCamera& c) {
    return {
        {"viewMinX", c.viewMinX},
        {"viewMaxX", c.viewMaxX},
        {"viewMinY", c.viewMinY},
        {"viewMaxY", c.viewMaxY},
        {"worldMinX", c.worldMinX},
        {"worldMaxX", c.worldMaxX},
        {"worldMinY", c.worldMinY},
        {"worldMaxY", c.worldMaxY},
        {"worldMinZ", c.worldMinZ},
        {"worldMaxZ", c.worldMaxZ},
        {"screenWidth", c.screenWidth},
        {"screenHeight", c.screenHeight},
        {"originX", c.originX},
        {"originY", c.originY},
        {"centerX", c.centerX},
        {"centerY", c.centerY},
        {"scale", c.scale},
        {"alpha", c.alpha},
        {"beta", c.beta},
        {"viewMatrix", c.viewMatrix},
    };
}

json modelJson(const ShellModel& m) {
    return {
        {"nodeCount", m.nodeCount()},
        {"elementCount", m.elementCount()},
        {"contourOn", m.contourOn},
        {"contourComponent", m.contourComponent},
        {"elementOutlinePlot", number(m.elementOutlinePlot)},
        {"nodePlot", number(m.nodePlot)},
        {"elementPlot", number(m.elementPlot)},
        {"nodeNumberPlot", number(m.nodeNumberPlot)},
        {"elementNumberPlot", number(m.elementNumberPlot)},
        {"minX", m.minX},
        {"maxX", m.maxX},
        {"minY", m.minY},
        {"maxY", m.maxY},
        {"minZ", m.minZ},
        {"maxZ", m.maxZ},
        {"meanEdgeLength", m.meanEdgeLength},
        {"selectedNodes", setIndices(m.nodeSelected)},
        {"pickedNodes", setIndices(m.nodePicked)},
        {"selectedElements", setIndices(m.elementSelected)},
        {"pickedElements", setIndices(m.elementPicked)},
    };
}

// What the newest open dialog of the kind shows, and how many of the kind are
// open; null when none is.
json dialogJson(const Application& app, DialogKind kind) {
    const DialogState* newest = app.newestDialog(kind);
    if (newest == nullptr) return nullptr;
    const auto count = std::count_if(app.dialogs().begin(), app.dialogs().end(),
                                     [kind](const DialogState& d) { return d.kind == kind; });
    if (kind == DialogKind::viewKit)
        return {{"count", count}, {"alpha", newest->alphaText}, {"beta", newest->betaText}};
    json shown{{"count", count}, {"checked", newest->checked}};
    if (kind == DialogKind::legend) {
        json texts = json::object();
        for (const auto& [id, text] : newest->fieldTexts)
            texts[std::to_string(id)] = text;
        shown["texts"] = texts;
        shown["message"] = newest->message;
    }
    return shown;
}

json dialogsJson(const Application& app) {
    return {
        {"viewKit", dialogJson(app, DialogKind::viewKit)},
        {"selectElements", dialogJson(app, DialogKind::selectElements)},
        {"selectNodes", dialogJson(app, DialogKind::selectNodes)},
        {"legend", dialogJson(app, DialogKind::legend)},
    };
}

json legendJson(const Application& app) {
    const LegendOptions& options = app.legendOptions();
    const LegendScale scale = app.legendScale().legend;
    json limits = json::array();
    for (int k = 0; k <= scale.bandCount; ++k)
        limits.push_back(scale.limits[k]);
    const int quantity = app.model().contourComponent;
    return {
        {"bandCount", scale.bandCount},
        {"limits", limits},
        {"rangeMode", options.fixedRange() ? "fixed" : "auto"},
        {"fixedMin", options.fixedRange() ? json(options.fixedMin) : json(nullptr)},
        {"fixedMax", options.fixedRange() ? json(options.fixedMax) : json(nullptr)},
        {"format", legendFormatName(options.format)},
        {"digits", options.digits},
        {"title", options.title},
        {"backing", options.backing},
        {"units", options.units},
        {"quantity", isStressQuantity(quantity) ? json(stressQuantityNames[quantity]) : json(nullptr)},
        {"face", shellFaceNames[faceIndex(app.model().contourFace)]},
    };
}

// The counts of the steps and the names of the next ones, null when there is none.
json historyJson(const SelectionHistory& history) {
    const auto name = [](std::optional<std::string_view> step) -> json {
        if (!step) return nullptr;
        return std::string(*step);
    };
    return {{"undo", history.undoCount()},
            {"redo", history.redoCount()},
            {"nextUndo", name(history.nextUndo())},
            {"nextRedo", name(history.nextRedo())}};
}

std::vector<int> checkedMenuItems(const Application& app) {
    std::vector<int> checked;
    for (const MenuPopup& popup : mainMenu())
        for (const MenuItem& item : popup.items)
            if (!item.isSeparator() && app.isChecked(item.commandId))
                checked.push_back(item.commandId);
    std::sort(checked.begin(), checked.end());
    return checked;
}

json probeJson(const ProbeAtPixel& probe) {
    json result{{"x", probe.pixel.x}, {"y", probe.pixel.y}};
    if (!probe.reading) {
        result["element"] = nullptr;
        return result;
    }
    const ProbeReading& r = *probe.reading;
    result.update(json{{"element", r.element},
                       {"surface", r.surface},
                       {"component", r.component},
                       {"quantity", stressQuantityNames[r.component]},
                       {"face", shellFaceNames[faceIndex(r.face)]},
                       {"value", r.value},
                       {"corner", r.corner},
                       {"node", r.node},
                       {"cornerStresses", r.cornerStresses}});
    return result;
}

}  // namespace

void writeStateJson(std::ostream& out, const Application& app, const ProbeAtPixel* probe) {
    json document{
        {"formatVersion", stateFormatVersion},       {"appState", appStateJson(app.state())},
        {"checkedMenuItems", checkedMenuItems(app)}, {"camera", cameraJson(app.camera())},
        {"model", modelJson(app.model())},           {"dialogs", dialogsJson(app)},
        {"legend", legendJson(app)},
        {"history", historyJson(app.history())},
    };
    if (probe != nullptr) document["probe"] = probeJson(*probe);
    // A file name need not be valid UTF-8; it must not make the dump fail.
    out << document.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

}  // namespace corvelt
