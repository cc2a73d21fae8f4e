// Selection sets: merging picks into the selection and the plain set operations,
// for elements and nodes alike.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "select/SelectionSets.h"
#include "view/TestMeshes.h"

namespace corvelt {
namespace {

using Flags = std::vector<std::uint8_t>;

// The operations of one kind of item, so that elements and nodes share their tests.
struct ItemKind {
    std::string name;
    Flags ShellModel::*selected;
    Flags ShellModel::*picked;
    void (*selectAll)(ShellModel&);
    void (*selectNone)(ShellModel&);
    void (*invert)(ShellModel&);
    void (*clearPicks)(ShellModel&);
    void (*reselect)(ShellModel&);
    void (*alsoSelect)(ShellModel&);
    void (*unselect)(ShellModel&);
    void (*apply)(ShellModel&, SelectMode);
};

void PrintTo(const ItemKind& kind, std::ostream* out) {
    *out << kind.name;
}

const ItemKind elements{"Elements",
                        &ShellModel::elementSelected,
                        &ShellModel::elementPicked,
                        selectAllElements,
                        selectNoElements,
                        invertElementSelection,
                        clearElementPicks,
                        reselectElements,
                        alsoSelectElements,
                        unselectElements,
                        applyElementPicks};
const ItemKind nodes{"Nodes",
                     &ShellModel::nodeSelected,
                     &ShellModel::nodePicked,
                     selectAllNodes,
                     selectNoNodes,
                     invertNodeSelection,
                     clearNodePicks,
                     reselectNodes,
                     alsoSelectNodes,
                     unselectNodes,
                     applyNodePicks};

// A 4 x 1 strip: four elements and ten nodes, so both kinds have at least four items.
class SelectionSets : public ::testing::TestWithParam<ItemKind> {
  protected:
    ShellModel model = testing::modelOf(testing::unitGrid(4, 1));
    Flags& selected() { return model.*GetParam().selected; }
    Flags& picked() { return model.*GetParam().picked; }

    // Sets the first four items and leaves the rest as loaded (selected, not picked).
    void setFirstFour(Flags& flags, Flags values) {
        std::copy(values.begin(), values.end(), flags.begin());
    }
    Flags firstFour(const Flags& flags) { return Flags(flags.begin(), flags.begin() + 4); }
};

TEST_P(SelectionSets, ApplyMergesThePicksByModeAndAlwaysClearsThem) {
    struct Case {
        SelectMode mode;
        Flags expected;
    };
    // Selected 1 0 1 0, picked 1 1 0 0.
    for (const Case& c :
         {Case{SelectMode::reselect, {1, 1, 0, 0}}, Case{SelectMode::alsoSelect, {1, 1, 1, 0}},
          Case{SelectMode::unselect, {0, 0, 1, 0}}}) {
        setFirstFour(selected(), {1, 0, 1, 0});
        setFirstFour(picked(), {1, 1, 0, 0});
        GetParam().apply(model, c.mode);
        EXPECT_EQ(firstFour(selected()), c.expected) << "mode " << static_cast<int>(c.mode);
        EXPECT_EQ(picked(), Flags(picked().size(), 0)) << "mode " << static_cast<int>(c.mode);
    }
}

TEST_P(SelectionSets, ReselectWithNothingPickedEmptiesTheSet) {
    GetParam().apply(model, SelectMode::reselect);
    EXPECT_EQ(selected(), Flags(selected().size(), 0));
}

TEST_P(SelectionSets, AlsoSelectAndUnselectWithNothingPickedKeepTheSet) {
    setFirstFour(selected(), {0, 1, 0, 1});
    const Flags before = selected();
    GetParam().apply(model, SelectMode::alsoSelect);
    EXPECT_EQ(selected(), before);
    GetParam().apply(model, SelectMode::unselect);
    EXPECT_EQ(selected(), before);
}

TEST_P(SelectionSets, MergesWithoutApplyKeepThePicks) {
    setFirstFour(picked(), {0, 1, 1, 0});
    const Flags pickedBefore = picked();
    GetParam().reselect(model);
    EXPECT_EQ(firstFour(selected()), (Flags{0, 1, 1, 0}));
    GetParam().unselect(model);
    EXPECT_EQ(firstFour(selected()), (Flags{0, 0, 0, 0}));
    GetParam().alsoSelect(model);
    EXPECT_EQ(firstFour(selected()), (Flags{0, 1, 1, 0}));
    EXPECT_EQ(picked(), pickedBefore);
}

TEST_P(SelectionSets, AnyNonZeroByteCountsAsPickedAndOnlyOneIsStored) {
    setFirstFour(picked(), {0, 7, 255, 0});
    GetParam().apply(model, SelectMode::reselect);
    EXPECT_EQ(firstFour(selected()), (Flags{0, 1, 1, 0}));

    setFirstFour(selected(), {9, 0, 200, 0});
    GetParam().invert(model);
    EXPECT_EQ(firstFour(selected()), (Flags{0, 1, 0, 1}));
}

TEST_P(SelectionSets, AllNoneAndInvertKeepThePicksForALaterApply) {
    setFirstFour(picked(), {1, 0, 0, 1});
    const Flags pickedBefore = picked();

    GetParam().selectNone(model);
    EXPECT_EQ(selected(), Flags(selected().size(), 0));
    EXPECT_EQ(picked(), pickedBefore);
    GetParam().selectAll(model);
    EXPECT_EQ(selected(), Flags(selected().size(), 1));
    EXPECT_EQ(picked(), pickedBefore);
    GetParam().invert(model);
    EXPECT_EQ(selected(), Flags(selected().size(), 0));
    EXPECT_EQ(picked(), pickedBefore);

    GetParam().apply(model, SelectMode::alsoSelect);
    EXPECT_EQ(firstFour(selected()), (Flags{1, 0, 0, 1}));
}

TEST_P(SelectionSets, InvertTwiceRestoresTheSet) {
    setFirstFour(selected(), {1, 0, 0, 1});
    const Flags before = selected();
    GetParam().invert(model);
    EXPECT_EQ(firstFour(selected()), (Flags{0, 1, 1, 0}));
    GetParam().invert(model);
    EXPECT_EQ(selected(), before);
}

TEST_P(SelectionSets, EveryOperationOnAnEmptyModelDoesNothing) {
    ShellModel empty = testing::modelOf({});
    const ItemKind& kind = GetParam();
    for (const auto operation : {kind.selectAll, kind.selectNone, kind.invert, kind.clearPicks,
                                 kind.reselect, kind.alsoSelect, kind.unselect})
        operation(empty);
    for (const SelectMode mode :
         {SelectMode::reselect, SelectMode::alsoSelect, SelectMode::unselect})
        kind.apply(empty, mode);
    EXPECT_TRUE((empty.*kind.selected).empty());
    EXPECT_TRUE((empty.*kind.picked).empty());
}

TEST_P(SelectionSets, OperationsLeaveTheOtherKindAlone) {
    const ItemKind& other = GetParam().name == "Nodes" ? elements : nodes;
    (model.*other.picked)[0] = 1;
    (model.*other.selected)[1] = 0;
    const Flags otherSelected = model.*other.selected;
    const Flags otherPicked = model.*other.picked;
    GetParam().invert(model);
    GetParam().apply(model, SelectMode::reselect);
    GetParam().clearPicks(model);
    EXPECT_EQ(model.*other.selected, otherSelected);
    EXPECT_EQ(model.*other.picked, otherPicked);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, SelectionSets, ::testing::Values(elements, nodes),
                         [](const ::testing::TestParamInfo<ItemKind>& info) {
                             return info.param.name;
                         });

TEST(SelectionAfterLoad, EveryLoadSelectsEverythingAndClearsThePicks) {
    ShellModel model = testing::modelOf(testing::unitGrid(2, 1));
    model.elementSelected = {0, 1};
    model.elementPicked = {1, 1};
    model.nodeSelected.assign(6, 0);
    model.nodePicked.assign(6, 1);
    model.elementPlot = PlotScope::selected;
    model.contourComponent = Sx;

    model.adoptResult(testing::unitGrid(3, 1));
    EXPECT_EQ(model.elementSelected, Flags(3, 1));
    EXPECT_EQ(model.elementPicked, Flags(3, 0));
    EXPECT_EQ(model.nodeSelected, Flags(8, 1));
    EXPECT_EQ(model.nodePicked, Flags(8, 0));
    EXPECT_EQ(model.elementPlot, PlotScope::selected);  // plot options survive a reload
    EXPECT_EQ(model.contourComponent, Sx);
}

// --- Nodes of the selected elements ---

// A 2 x 1 strip (nodes 0 1 2 below, 3 4 5 above) and a seventh node that no element uses.
ShellModel stripWithLooseNode() {
    ResultData data = testing::unitGrid(2, 1);
    data.nodes.push_back({5, 5, 5});
    return testing::modelOf(std::move(data));
}

TEST(SelectNodesInSelectedElements, ReplacesTheNodeSelectionByTheSelectedElementsCorners) {
    ShellModel model = stripWithLooseNode();
    model.elementSelected = {1, 0};
    model.nodeSelected = {0, 0, 1, 0, 0, 1, 1};
    model.elementPicked = {0, 1};
    model.nodePicked = {1, 0, 0, 0, 0, 0, 1};
    selectNodesInSelectedElements(model);
    EXPECT_EQ(model.nodeSelected, (Flags{1, 1, 0, 1, 1, 0, 0}));
    EXPECT_EQ(model.elementSelected, (Flags{1, 0}));
    EXPECT_EQ(model.elementPicked, (Flags{0, 1}));
    EXPECT_EQ(model.nodePicked, (Flags{1, 0, 0, 0, 0, 0, 1}));
}

TEST(SelectNodesInSelectedElements, NoSelectedElementDeselectsEveryNode) {
    ShellModel model = stripWithLooseNode();
    model.elementSelected = {0, 0};
    selectNodesInSelectedElements(model);
    EXPECT_EQ(model.nodeSelected, Flags(7, 0));
}

TEST(SelectNodesInSelectedElements, AnUnreferencedNodeIsAlwaysDeselected) {
    ShellModel model = stripWithLooseNode();  // everything selected after the load
    selectNodesInSelectedElements(model);
    EXPECT_EQ(model.nodeSelected, (Flags{1, 1, 1, 1, 1, 1, 0}));
}

}  // namespace
}  // namespace corvelt
