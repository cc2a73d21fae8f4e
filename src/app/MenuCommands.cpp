#include "app/MenuCommands.h"

#include <array>
#include <optional>

#include "app/AppState.h"
#include "app/CommandId.h"
#include "app/PlotOptions.h"
#include "model/StressQuantity.h"

namespace corvelt {

namespace {

// Each plot layer has three consecutive commands: all, selected, none.
struct PlotTriple {
    int allCommand;
    PlotLayer layer;
};

constexpr std::array plotTriples{
    PlotTriple{plotAllNodesCommand, PlotLayer::nodes},
    PlotTriple{plotAllElementOutlinesCommand, PlotLayer::elementOutlines},
    PlotTriple{plotAllElementsCommand, PlotLayer::elements},
    PlotTriple{plotAllNodeNumbersCommand, PlotLayer::nodeNumbers},
    PlotTriple{plotAllElementNumbersCommand, PlotLayer::elementNumbers},
};

struct PlotChoice {
    PlotLayer layer;
    PlotScope scope;
};

std::optional<PlotChoice> plotChoiceOf(int id) {
    for (const PlotTriple& triple : plotTriples) {
        const int offset = id - triple.allCommand;
        if (offset >= 0 && offset < 3)
            return PlotChoice{triple.layer, static_cast<PlotScope>(offset)};
    }
    return std::nullopt;
}

std::optional<int> componentOf(int id) {
    const int component = id - contourSxCommand;
    if (isStressComponent(component)) return component;
    const int derived = P1 + id - contourP1Command;
    if (isDerivedQuantity(derived)) return derived;
    return std::nullopt;
}

std::optional<ShellFace> faceOf(int id) {
    const int face = id - facingSurfaceCommand;
    if (isShellFace(face)) return static_cast<ShellFace>(face);
    return std::nullopt;
}

// The contour and filled elements exclude each other: whatever turns the contour
// on also unplots the elements.
void turnContourOn(AppState& state, ShellModel& model) {
    setContourOn(state, model, true);
    setPlotScope(state, model, PlotLayer::elements, PlotScope::none);
}

void applyPlotChoice(AppState& state, ShellModel& model, PlotChoice choice) {
    // Filled elements hide the contour; "Unplot All Elements" leaves it as it is.
    if (choice.layer == PlotLayer::elements && choice.scope != PlotScope::none)
        setContourOn(state, model, false);
    setPlotScope(state, model, choice.layer, choice.scope);
}

}  // namespace

CommandOutcome applyMenuCommand(AppState& state, ShellModel& model, int id) {
    if (const std::optional<int> component = componentOf(id)) {
        turnContourOn(state, model);
        setContourComponent(state, model, *component);
        return CommandOutcome::repaint;
    }
    if (const std::optional<PlotChoice> choice = plotChoiceOf(id)) {
        applyPlotChoice(state, model, *choice);
        return CommandOutcome::repaint;
    }
    // A face changes what the contour shows, not whether it is drawn.
    if (const std::optional<ShellFace> face = faceOf(id)) {
        setContourFace(state, model, *face);
        return CommandOutcome::repaint;
    }
    switch (id) {
        case openCommand:
            return CommandOutcome::openFileRequested;
        case viewKitCommand:
        case legendCommand:
            return CommandOutcome::done;
        case selectElementsCommand:
            state.interactionMode = InteractionMode::pickElements;
            return CommandOutcome::done;
        case selectNodesCommand:
            state.interactionMode = InteractionMode::pickNodes;
            return CommandOutcome::done;
        case contourCommand:
            if (state.contourOn)
                setContourOn(state, model, false);
            else
                turnContourOn(state, model);
            return CommandOutcome::repaint;
        case blackBackgroundCommand:
        case whiteBackgroundCommand:
            state.backgroundIndex = id - blackBackgroundCommand;
            return CommandOutcome::repaint;
        case showMinMaxCommand:
            state.showMinMax = !state.showMinMax;
            return CommandOutcome::repaint;
        default:
            return CommandOutcome::unknownCommand;
    }
}

bool isMenuItemChecked(const AppState& state, int id) {
    if (componentOf(id)) return id == state.checkedComponentItem();
    if (faceOf(id)) return id == state.checkedFaceItem();
    if (const std::optional<PlotChoice> choice = plotChoiceOf(id))
        return plotScope(state, choice->layer) == choice->scope;
    if (id == contourCommand) return state.contourOn;
    if (id == showMinMaxCommand) return state.showMinMax;
    if (id == blackBackgroundCommand || id == whiteBackgroundCommand)
        return id == state.checkedBackgroundItem();
    return false;
}

}  // namespace corvelt
