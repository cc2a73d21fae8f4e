#pragma once

#include "model/PlotScope.h"
#include "model/ShellFace.h"

namespace corvelt {

struct AppState;
struct ShellModel;

// The five layers whose scope (all, selected, none) the user chooses.
enum class PlotLayer { nodes, elementOutlines, elements, nodeNumbers, elementNumbers };

// Every plot option lives twice: the application state's copy is what menus and
// dialogs show, the model's copy is what the painters draw. These are the only
// writers, so the two copies cannot drift apart.

void setPlotScope(AppState& state, ShellModel& model, PlotLayer layer, PlotScope scope);
void setContourOn(AppState& state, ShellModel& model, bool on);
// `component` must be a StressQuantity.
void setContourComponent(AppState& state, ShellModel& model, int component);
void setContourFace(AppState& state, ShellModel& model, ShellFace face);

PlotScope plotScope(const AppState& state, PlotLayer layer);

}  // namespace corvelt
