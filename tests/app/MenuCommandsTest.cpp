#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/CommandId.h"
#include "app/MenuTable.h"

namespace corvelt {
namespace {

using CheckedSet = std::set<int>;

const CheckedSet startMarks{40009, 40012, 40016, 40019, 40023, 40026, 40029, 40032};

CheckedSet checkedItems(const Application& app) {
    CheckedSet checked;
    for (const MenuPopup& popup : mainMenu())
        for (const MenuItem& item : popup.items)
            if (!item.isSeparator() && app.isChecked(item.commandId))
                checked.insert(item.commandId);
    return checked;
}

CheckedSet replaced(CheckedSet marks, int removed, int added) {
    marks.erase(removed);
    marks.insert(added);
    return marks;
}

struct MarkCase {
    std::string name;
    std::vector<int> commands;
    CheckedSet expected;
};

void PrintTo(const MarkCase& c, std::ostream* os) {
    *os << c.name;
}

class MenuMarks : public ::testing::TestWithParam<MarkCase> {};

TEST_P(MenuMarks, FollowTheCommands) {
    Application app;
    for (int id : GetParam().commands)
        app.command(id);
    EXPECT_EQ(checkedItems(app), GetParam().expected);
}

// The painters read the model's copy of every plot option, the menu the state's.
TEST_P(MenuMarks, ModelMirrorsTheState) {
    Application app;
    for (int id : GetParam().commands)
        app.command(id);
    const AppState& s = app.state();
    const ShellModel& m = app.model();
    EXPECT_EQ(m.contourOn, s.contourOn);
    EXPECT_EQ(m.contourComponent, s.componentIndex);
    EXPECT_EQ(m.nodePlot, s.nodePlot);
    EXPECT_EQ(m.elementOutlinePlot, s.elementOutlinePlot);
    EXPECT_EQ(m.elementPlot, s.elementPlot);
    EXPECT_EQ(m.nodeNumberPlot, s.nodeNumberPlot);
    EXPECT_EQ(m.elementNumberPlot, s.elementNumberPlot);
}

std::vector<MarkCase> markCases() {
    const CheckedSet contourOff = [] {
        CheckedSet marks = startMarks;
        marks.erase(40012);
        return marks;
    }();
    std::vector<MarkCase> cases{
        {"Start", {}, startMarks},
        {"Tyz", {40008}, replaced(startMarks, 40009, 40008)},
        {"PlotAllElementsTurnsContourOff", {40024}, replaced(contourOff, 40026, 40024)},
        {"PlotSelectedElementsTurnsContourOff", {40025}, replaced(contourOff, 40026, 40025)},
        {"SxWhilePlotAllElements", {40024, 40003}, replaced(startMarks, 40009, 40003)},
        {"ContourOnce", {40012}, contourOff},
        {"ContourTwice", {40012, 40012}, startMarks},
        {"ContourBackOnUnplotsElements", {40025, 40012}, startMarks},
        {"UnplotAllElementsKeepsContourOn", {40026}, startMarks},
        {"UnplotAllElementsKeepsContourOff", {40024, 40026}, contourOff},
        {"WhiteBackground", {40020}, replaced(startMarks, 40019, 40020)},
        {"BlackAgain", {40020, 40019}, startMarks},
        {"ViewKitMarksNothing", {40002}, startMarks},
        // Opening a selection dialog plots all outlines, the node dialog all nodes too.
        {"SelectElementsPlotsAllOutlines", {40010}, replaced(startMarks, 40016, 40014)},
        {"SelectNodesPlotsAllOutlinesAndNodes",
         {40011},
         replaced(replaced(startMarks, 40016, 40014), 40023, 40021)},
    };
    // Every plot triple: all, selected, and back to none.
    const std::vector<std::pair<std::string, int>> triples{{"Nodes", 40021},
                                                           {"ElementOutlines", 40014},
                                                           {"NodeNumbers", 40027},
                                                           {"ElementNumbers", 40030}};
    for (const auto& [name, all] : triples) {
        cases.push_back({"PlotAll" + name, {all}, replaced(startMarks, all + 2, all)});
        cases.push_back({"PlotSelected" + name, {all + 1}, replaced(startMarks, all + 2, all + 1)});
        cases.push_back({"Unplot" + name, {all, all + 1, all + 2}, startMarks});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Commands, MenuMarks, ::testing::ValuesIn(markCases()),
                         [](const auto& info) { return info.param.name; });

TEST(MenuCommands, ComponentSetsTheContourOfThatComponent) {
    Application app;
    app.command(plotAllElementsCommand);
    app.command(40005);  // Sz
    EXPECT_TRUE(app.state().contourOn);
    EXPECT_EQ(app.state().componentIndex, Sz);
    EXPECT_EQ(app.model().contourComponent, Sz);
    EXPECT_EQ(app.state().elementPlot, PlotScope::none);
}

TEST(MenuCommands, BackgroundChoosesTheColour) {
    Application app;
    app.command(whiteBackgroundCommand);
    EXPECT_EQ(app.state().backgroundIndex, 1);
    EXPECT_EQ(app.state().backgroundColor(), (Rgb{255, 255, 255}));
}

TEST(MenuCommands, SelectionCommandsOpenTheirDialogsInThePickModes) {
    Application app;
    EXPECT_EQ(app.command(selectElementsCommand), CommandOutcome::dialogOpened);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::pickElements);
    EXPECT_EQ(app.command(selectNodesCommand), CommandOutcome::dialogOpened);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::pickNodes);
    EXPECT_TRUE(app.state().selectElementsDialogOpen);
    EXPECT_TRUE(app.state().selectNodesDialogOpen);
}

TEST(MenuCommands, OpenOnlyAsksTheShellForAFile) {
    Application app;
    app.takeRepaintDue();
    EXPECT_EQ(app.command(openCommand), CommandOutcome::openFileRequested);
    EXPECT_FALSE(app.takeRepaintDue());
    EXPECT_FALSE(app.state().modelLoaded);
}

TEST(MenuCommands, UnknownIdChangesNothing) {
    Application app;
    app.takeRepaintDue();
    for (int id : {0, 40013, 40017, 40033, -1})
        EXPECT_EQ(app.command(id), CommandOutcome::unknownCommand) << id;
    EXPECT_FALSE(app.takeRepaintDue());
    EXPECT_EQ(checkedItems(app), startMarks);
}

TEST(MenuCommands, RepaintFollowsWhatThePictureShows) {
    for (const MenuPopup& popup : mainMenu())
        for (const MenuItem& item : popup.items) {
            if (item.isSeparator()) continue;
            Application app;
            app.takeRepaintDue();
            app.command(item.commandId);
            const bool changesNoPicture =
                item.commandId == openCommand || item.commandId == viewKitCommand;
            EXPECT_EQ(app.takeRepaintDue(), !changesNoPicture) << item.commandId;
        }
}

TEST(MenuTable, HoldsEveryCommandOnceInMenuOrder) {
    std::vector<int> ids;
    std::vector<std::string_view> titles;
    for (const MenuPopup& popup : mainMenu()) {
        titles.push_back(popup.title);
        for (const MenuItem& item : popup.items)
            if (!item.isSeparator()) ids.push_back(item.commandId);
    }
    EXPECT_EQ(titles, (std::vector<std::string_view>{"&File", "&View", "&Contour", "&Select",
                                                     "Pl&otCtrls"}));
    ASSERT_EQ(ids.size(), 29u);
    EXPECT_EQ(ids.front(), openCommand);
    EXPECT_EQ(ids.back(), whiteBackgroundCommand);
    std::vector<int> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_FALSE(isMenuCommand(0));
    EXPECT_FALSE(isMenuCommand(40013));
    // Show Min/Max is the window's View item, not the table's; scripts reach it too.
    EXPECT_FALSE(isMenuCommand(showMinMaxCommand));
    EXPECT_TRUE(isApplicationCommand(showMinMaxCommand));
}

TEST(MenuCommands, ShowMinMaxTogglesItsMarkAndRepaints) {
    AppState state;
    ShellModel model;
    EXPECT_FALSE(isMenuItemChecked(state, showMinMaxCommand));
    EXPECT_EQ(applyMenuCommand(state, model, showMinMaxCommand), CommandOutcome::repaint);
    EXPECT_TRUE(isMenuItemChecked(state, showMinMaxCommand));
    applyMenuCommand(state, model, showMinMaxCommand);
    EXPECT_FALSE(state.showMinMax);
}

}  // namespace
}  // namespace corvelt
