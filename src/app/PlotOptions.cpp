#include "app/PlotOptions.h"

#include <cassert>

#include "app/AppState.h"
#include "model/ShellModel.h"
#include "model/StressComponent.h"

namespace corvelt {

namespace {

// The state's and the model's field of one layer.
struct LayerFields {
    PlotScope AppState::*stateField;
    PlotScope ShellModel::*modelField;
};

LayerFields fieldsOf(PlotLayer layer) {
    switch (layer) {
        case PlotLayer::nodes:
            return {&AppState::nodePlot, &ShellModel::nodePlot};
        case PlotLayer::elementOutlines:
            return {&AppState::elementOutlinePlot, &ShellModel::elementOutlinePlot};
        case PlotLayer::elements:
            return {&AppState::elementPlot, &ShellModel::elementPlot};
        case PlotLayer::nodeNumbers:
            return {&AppState::nodeNumberPlot, &ShellModel::nodeNumberPlot};
        case PlotLayer::elementNumbers:
            return {&AppState::elementNumberPlot, &ShellModel::elementNumberPlot};
    }
    assert(false && "unknown plot layer");
    return {&AppState::nodePlot, &ShellModel::nodePlot};
}

}  // namespace

void setPlotScope(AppState& state, ShellModel& model, PlotLayer layer, PlotScope scope) {
    const LayerFields fields = fieldsOf(layer);
    state.*fields.stateField = scope;
    model.*fields.modelField = scope;
}

void setContourOn(AppState& state, ShellModel& model, bool on) {
    state.contourOn = on;
    model.contourOn = on;
}

void setContourComponent(AppState& state, ShellModel& model, int component) {
    assert(isStressQuantity(component));
    state.componentIndex = component;
    model.contourComponent = component;
}

void setContourFace(AppState& state, ShellModel& model, ShellFace face) {
    state.contourFace = face;
    model.contourFace = face;
}

PlotScope plotScope(const AppState& state, PlotLayer layer) {
    return state.*fieldsOf(layer).stateField;
}

}  // namespace corvelt
