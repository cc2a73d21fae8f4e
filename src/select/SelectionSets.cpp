#include "select/SelectionSets.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/ShellModel.h"

namespace corvelt {

namespace {

using Flags = std::vector<std::uint8_t>;

void invert(Flags& selected) {
    for (std::uint8_t& flag : selected)
        flag = flag ? 0 : 1;
}

void reselect(Flags& selected, const Flags& picked) {
    for (std::size_t i = 0; i < selected.size(); ++i)
        selected[i] = picked[i] ? 1 : 0;
}

void setWherePicked(Flags& selected, const Flags& picked, std::uint8_t value) {
    for (std::size_t i = 0; i < selected.size(); ++i)
        if (picked[i]) selected[i] = value;
}

void apply(Flags& selected, Flags& picked, SelectMode mode) {
    switch (mode) {
        case SelectMode::reselect:
            reselect(selected, picked);
            break;
        case SelectMode::alsoSelect:
            setWherePicked(selected, picked, 1);
            break;
        case SelectMode::unselect:
            setWherePicked(selected, picked, 0);
            break;
    }
    std::fill(picked.begin(), picked.end(), 0);
}

}  // namespace

void selectAllElements(ShellModel& model) {
    std::fill(model.elementSelected.begin(), model.elementSelected.end(), 1);
}
void selectNoElements(ShellModel& model) {
    std::fill(model.elementSelected.begin(), model.elementSelected.end(), 0);
}
void invertElementSelection(ShellModel& model) {
    invert(model.elementSelected);
}
void clearElementPicks(ShellModel& model) {
    std::fill(model.elementPicked.begin(), model.elementPicked.end(), 0);
}
void reselectElements(ShellModel& model) {
    reselect(model.elementSelected, model.elementPicked);
}
void alsoSelectElements(ShellModel& model) {
    setWherePicked(model.elementSelected, model.elementPicked, 1);
}
void unselectElements(ShellModel& model) {
    setWherePicked(model.elementSelected, model.elementPicked, 0);
}
void applyElementPicks(ShellModel& model, SelectMode mode) {
    apply(model.elementSelected, model.elementPicked, mode);
}

void selectAllNodes(ShellModel& model) {
    std::fill(model.nodeSelected.begin(), model.nodeSelected.end(), 1);
}
void selectNoNodes(ShellModel& model) {
    std::fill(model.nodeSelected.begin(), model.nodeSelected.end(), 0);
}
void invertNodeSelection(ShellModel& model) {
    invert(model.nodeSelected);
}
void clearNodePicks(ShellModel& model) {
    std::fill(model.nodePicked.begin(), model.nodePicked.end(), 0);
}
void reselectNodes(ShellModel& model) {
    reselect(model.nodeSelected, model.nodePicked);
}
void alsoSelectNodes(ShellModel& model) {
    setWherePicked(model.nodeSelected, model.nodePicked, 1);
}
void unselectNodes(ShellModel& model) {
    setWherePicked(model.nodeSelected, model.nodePicked, 0);
}
void applyNodePicks(ShellModel& model, SelectMode mode) {
    apply(model.nodeSelected, model.nodePicked, mode);
}

void selectNodesInSelectedElements(ShellModel& model) {
    // One pass over the selected elements' corners instead of a scan of all
    // elements per node: the same set, in time linear in the model.
    std::fill(model.nodeSelected.begin(), model.nodeSelected.end(), 0);
    const std::int32_t elementCount = model.elementCount();
    for (std::int32_t e = 0; e < elementCount; ++e) {
        if (!model.elementSelected[e]) continue;
        const std::int32_t* corners = model.elementCorners(e);
        for (int j = 0; j < ShellModel::nodesPerElement; ++j)
            model.nodeSelected[corners[j]] = 1;
    }
}

}  // namespace corvelt
