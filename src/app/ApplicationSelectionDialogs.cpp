// What every control of the Select Element(s) and Select Node(s) dialogs does.
#include <string>

#include "app/Application.h"
#include "app/CommandId.h"
#include "app/DialogControlId.h"
#include "app/PlotOptions.h"
#include "select/SelectionSets.h"

namespace corvelt {

namespace {

using Elements = SelectElementsControl;
using Nodes = SelectNodesControl;

// "Apply (Reselect)": the step's name says how the picks went in.
std::string applyStepName(SelectMode mode) {
    switch (mode) {
        case SelectMode::alsoSelect:
            return "Apply (Also Select)";
        case SelectMode::unselect:
            return "Apply (Unselect)";
        case SelectMode::reselect:
            break;
    }
    return "Apply (Reselect)";
}

}  // namespace

// Opening the dialog also plots all element outlines, so that picks can be seen.
void Application::initSelectElements(DialogState& dialog) {
    state_.interactionMode = InteractionMode::pickElements;
    dialog.check(state_.rectanglePick == 1 ? Elements::rectanglePick : Elements::pointPick);
    dialog.setChecked(Elements::onlyFromSelected, state_.onlyFromSelectedElements);
    dialog.check(Elements::reselect + static_cast<int>(state_.elementSelectMode));
    setPlotScope(state_, model_, PlotLayer::elementOutlines, PlotScope::all);
    dialog.check(Elements::plotAllElements + static_cast<int>(state_.elementPlot));
    requestRepaint();
}

// Opening the dialog also plots all node markers and all element outlines.
void Application::initSelectNodes(DialogState& dialog) {
    state_.interactionMode = InteractionMode::pickNodes;
    dialog.check(state_.rectanglePick == 1 ? Nodes::rectanglePick : Nodes::pointPick);
    dialog.setChecked(Nodes::onlyFromSelected, state_.onlyFromSelectedNodes);
    dialog.check(Nodes::reselect + static_cast<int>(state_.nodeSelectMode));
    setPlotScope(state_, model_, PlotLayer::nodes, PlotScope::all);
    setPlotScope(state_, model_, PlotLayer::elementOutlines, PlotScope::all);
    requestRepaint();
}

DialogOutcome Application::pressSelectElements(DialogState& dialog, int control) {
    if (control >= Elements::plotAllOutlines && control <= Elements::unplotAllOutlines) {
        command(plotAllElementOutlinesCommand + (control - Elements::plotAllOutlines));
        return {};
    }
    if (control >= Elements::plotAllElements && control <= Elements::unplotAllElements) {
        // As the menu's items: plotting elements turns the contour off.
        dialog.check(control);
        command(plotAllElementsCommand + (control - Elements::plotAllElements));
        return {};
    }
    if (control >= Elements::reselect && control <= Elements::unselect) {
        dialog.check(control);
        state_.elementSelectMode = static_cast<SelectMode>(control - Elements::reselect);
        return {};
    }
    switch (control) {
        case Elements::pointPick:
        case Elements::rectanglePick:
            dialog.check(control);
            setRectanglePick(control == Elements::rectanglePick);
            break;
        case Elements::onlyFromSelected:
            // The press toggles the option; every open box then shows it.
            setOnlyFromSelectedElements(!state_.onlyFromSelectedElements);
            break;
        case Elements::pick:
            setInteractionMode(InteractionMode::pickElements);
            break;
        case Elements::unpick:
            setInteractionMode(InteractionMode::unpickElements);
            break;
        case Elements::reset:
            changeFlags("Reset", elementPickedFlags, [this] { clearElementPicks(model_); });
            requestRepaint();
            break;
        case Elements::apply:
            changeFlags(applyStepName(state_.elementSelectMode), elementFlags,
                        [this] { applyElementPicks(model_, state_.elementSelectMode); });
            requestRepaint();
            break;
        case Elements::selectAll:
            changeFlags("Select All", elementSelectedFlags, [this] { selectAllElements(model_); });
            requestRepaint();
            break;
        case Elements::selectNone:
            changeFlags("Select None", elementSelectedFlags, [this] { selectNoElements(model_); });
            requestRepaint();
            break;
        case Elements::invert:
            changeFlags("Invert", elementSelectedFlags, [this] { invertElementSelection(model_); });
            requestRepaint();
            break;
        case Elements::fromFile:
            return requestSelectionFile(dialog, false);
        case Elements::toFile:
            return requestSelectionFile(dialog, true);
        case Elements::listStresses:
            return listStresses(ItemKind::elements);
        case Elements::clearContour:
            setContourOn(state_, model_, false);
            requestRepaint();
            break;
        case Elements::plotContour:
            // The contour and filled elements exclude each other.
            setContourOn(state_, model_, true);
            setPlotScope(state_, model_, PlotLayer::elements, PlotScope::none);
            dialog.check(Elements::unplotAllElements);
            requestRepaint();
            break;
        case Elements::all:
            fitView();
            break;
        case Elements::pan:
            setInteractionMode(InteractionMode::pan);
            break;
        case Elements::zoom:
            setInteractionMode(InteractionMode::zoomBox);
            break;
        case Elements::exit:
            return closeDialog(dialog.id);
        default:
            break;
    }
    return {};
}

DialogOutcome Application::pressSelectNodes(DialogState& dialog, int control) {
    if (control >= Nodes::plotAllNodes && control <= Nodes::unplotAllNodes) {
        command(plotAllNodesCommand + (control - Nodes::plotAllNodes));
        return {};
    }
    if (control >= Nodes::reselect && control <= Nodes::unselect) {
        dialog.check(control);
        state_.nodeSelectMode = static_cast<SelectMode>(control - Nodes::reselect);
        return {};
    }
    switch (control) {
        case Nodes::pointPick:
        case Nodes::rectanglePick:
            dialog.check(control);
            setRectanglePick(control == Nodes::rectanglePick);
            break;
        case Nodes::onlyFromSelected:
            setOnlyFromSelectedNodes(!state_.onlyFromSelectedNodes);
            break;
        case Nodes::pick:
            setInteractionMode(InteractionMode::pickNodes);
            break;
        case Nodes::unpick:
            setInteractionMode(InteractionMode::unpickNodes);
            break;
        case Nodes::reset:
            changeFlags("Reset", nodePickedFlags, [this] { clearNodePicks(model_); });
            requestRepaint();
            break;
        case Nodes::apply:
            changeFlags(applyStepName(state_.nodeSelectMode), nodeFlags,
                        [this] { applyNodePicks(model_, state_.nodeSelectMode); });
            requestRepaint();
            break;
        case Nodes::selectAll:
            changeFlags("Select All", nodeSelectedFlags, [this] { selectAllNodes(model_); });
            requestRepaint();
            break;
        case Nodes::selectNone:
            changeFlags("Select None", nodeSelectedFlags, [this] { selectNoNodes(model_); });
            requestRepaint();
            break;
        case Nodes::invert:
            changeFlags("Invert", nodeSelectedFlags, [this] { invertNodeSelection(model_); });
            requestRepaint();
            break;
        case Nodes::nodesInSelectedElements:
            changeFlags("Select Nodes In Elements Selected", nodeSelectedFlags,
                        [this] { selectNodesInSelectedElements(model_); });
            command(plotSelectedNodesCommand);
            break;
        case Nodes::fromFile:
            return requestSelectionFile(dialog, false);
        case Nodes::toFile:
            return requestSelectionFile(dialog, true);
        case Nodes::listStresses:
            return listStresses(ItemKind::nodes);
        case Nodes::all:
            fitView();
            break;
        case Nodes::pan:
            setInteractionMode(InteractionMode::pan);
            break;
        case Nodes::zoom:
            setInteractionMode(InteractionMode::zoomBox);
            break;
        case Nodes::exit:
            return closeDialog(dialog.id);
        default:
            break;
    }
    return {};
}

}  // namespace corvelt
