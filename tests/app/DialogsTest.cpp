#include <algorithm>
#include <clocale>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestMeshes.h"
#include "app/AngleText.h"
#include "app/Application.h"
#include "app/CommandId.h"
#include "app/DialogControlId.h"
#include "app/DialogTemplate.h"

namespace corvelt {
namespace {

using Flags = std::vector<std::uint8_t>;

Flags flags(std::size_t count, std::initializer_list<int> set) {
    Flags result(count, 0);
    for (int i : set)
        result[static_cast<std::size_t>(i)] = 1;
    return result;
}

// Everything a dialog control may change, compared as a whole so that a case also
// pins what must stay as it was.
struct Snapshot {
    InteractionMode mode;
    std::int32_t rectanglePick;
    bool onlyFromSelectedElements, onlyFromSelectedNodes;
    SelectMode elementSelectMode, nodeSelectMode;
    bool contourOn;
    PlotScope elementOutlinePlot, nodePlot, elementPlot;
    double alphaDegrees, betaDegrees;
    Flags elementSelected, elementPicked, nodeSelected, nodePicked;
    double scale;
    std::vector<int> checked;  // of the pressed dialog; empty once it closed
    std::string alphaText, betaText;
    int openDialogs;
    bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* out) {
    using ::testing::PrintToString;
    *out << "mode " << int(s.mode) << " rect " << s.rectanglePick << " only "
         << s.onlyFromSelectedElements << s.onlyFromSelectedNodes << " selectModes "
         << int(s.elementSelectMode) << int(s.nodeSelectMode) << " contour " << s.contourOn
         << " plots " << int(s.elementOutlinePlot) << int(s.nodePlot) << int(s.elementPlot)
         << " angles " << s.alphaDegrees << ' ' << s.betaDegrees << " scale " << s.scale
         << " texts " << s.alphaText << ' ' << s.betaText << " open " << s.openDialogs
         << " checked " << PrintToString(s.checked) << "\n  elements "
         << PrintToString(s.elementSelected) << PrintToString(s.elementPicked) << "\n  nodes "
         << PrintToString(s.nodeSelected) << PrintToString(s.nodePicked);
}

Snapshot snapshot(const Application& app, DialogId pressed) {
    const AppState& s = app.state();
    const ShellModel& m = app.model();
    const DialogState* dialog = app.dialog(pressed);
    return {s.interactionMode,
            s.rectanglePick,
            s.onlyFromSelectedElements,
            s.onlyFromSelectedNodes,
            s.elementSelectMode,
            s.nodeSelectMode,
            s.contourOn,
            s.elementOutlinePlot,
            s.nodePlot,
            s.elementPlot,
            s.viewAlphaDegrees,
            s.viewBetaDegrees,
            m.elementSelected,
            m.elementPicked,
            m.nodeSelected,
            m.nodePicked,
            app.camera().scale,
            dialog ? dialog->checked : std::vector<int>{},
            dialog ? dialog->alphaText : std::string(),
            dialog ? dialog->betaText : std::string(),
            static_cast<int>(app.dialogs().size())};
}

// A 4 x 2 grid seen from +z in a 400 x 300 client (scale 95, world (2, 1) at pixel
// (200, 150)), with all three dialogs open, zoomed in by one wheel notch, in mode
// none. Elements 0 .. 3 are selected and 2, 5 picked; nodes 0, 1, 2, 5, 6, 7 are
// selected and 1, 9 picked.
class Dialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        app.adoptFile(testing::squareGrid(4, 2), "grid.txt");
        app.resize(400, 300);
        app.applyViewAngles(-90, 90, true);
        fittedScale = app.camera().scale;

        app.command(selectElementsCommand);
        pickInRectangle(-0.2, -0.2, 4.2, 1.2);
        press(DialogKind::selectElements, SelectElementsControl::apply);
        pickAtPoints({{2.5, 0.5}, {1.5, 1.5}});

        app.command(selectNodesCommand);
        pickInRectangle(-0.2, -0.2, 2.2, 1.2);
        press(DialogKind::selectNodes, SelectNodesControl::apply);
        pickAtPoints({{1.0, 0.0}, {4.0, 1.0}});

        app.command(viewKitCommand);
        app.setInteractionMode(InteractionMode::none);
        app.wheel(120, 100, 100);

        ASSERT_EQ(app.model().elementSelected, flags(8, {0, 1, 2, 3}));
        ASSERT_EQ(app.model().elementPicked, flags(8, {2, 5}));
        ASSERT_EQ(app.model().nodeSelected, flags(15, {0, 1, 2, 5, 6, 7}));
        ASSERT_EQ(app.model().nodePicked, flags(15, {1, 9}));
        app.takeRepaintDue();
    }

    void pickInRectangle(double x0, double y0, double x1, double y1) {
        const Pixel a = app.camera().viewToPixel(x0, y0);
        const Pixel b = app.camera().viewToPixel(x1, y1);
        app.leftButtonDown(a.x, a.y);
        app.leftButtonDown(b.x, b.y);
    }

    void pickAtPoints(std::initializer_list<std::pair<double, double>> points) {
        app.setRectanglePick(false);
        for (const auto& [x, y] : points) {
            const Pixel p = app.camera().viewToPixel(x, y);
            app.leftButtonDown(p.x, p.y);
        }
        app.setRectanglePick(true);
    }

    DialogId newest(DialogKind kind) const { return app.newestDialog(kind)->id; }

    DialogOutcome press(DialogKind kind, int control) {
        return app.pressDialogControl(newest(kind), control);
    }

    Application app;
    double fittedScale = 0.0;
};

// --- Every row of the three tables: state before, state after, repaint.

// What a control changes; every field left out stays as it was.
struct Change {
    std::optional<InteractionMode> mode{};
    std::optional<std::int32_t> rectanglePick{};
    std::optional<bool> onlyElements{}, onlyNodes{};
    std::optional<SelectMode> elementSelectMode{}, nodeSelectMode{};
    std::optional<bool> contourOn{};
    std::optional<PlotScope> outlines{}, nodePlot{}, elementPlot{};
    std::optional<std::vector<int>> elementSelected{}, elementPicked{}, nodeSelected{},
        nodePicked{};
    std::vector<int> on{}, off{};  // ids the dialog checks and clears
    bool closes = false;           // the dialog closes (its shown state goes with it)
};

void apply(const Change& c, Snapshot& s) {
    const auto set = [](auto& field, const auto& value) {
        if (value) field = *value;
    };
    const auto setFlags = [](Flags& field, const std::optional<std::vector<int>>& indices) {
        if (!indices) return;
        field.assign(field.size(), 0);
        for (int i : *indices)
            field[static_cast<std::size_t>(i)] = 1;
    };
    set(s.mode, c.mode);
    set(s.rectanglePick, c.rectanglePick);
    set(s.onlyFromSelectedElements, c.onlyElements);
    set(s.onlyFromSelectedNodes, c.onlyNodes);
    set(s.elementSelectMode, c.elementSelectMode);
    set(s.nodeSelectMode, c.nodeSelectMode);
    set(s.contourOn, c.contourOn);
    set(s.elementOutlinePlot, c.outlines);
    set(s.nodePlot, c.nodePlot);
    set(s.elementPlot, c.elementPlot);
    setFlags(s.elementSelected, c.elementSelected);
    setFlags(s.elementPicked, c.elementPicked);
    setFlags(s.nodeSelected, c.nodeSelected);
    setFlags(s.nodePicked, c.nodePicked);
    for (int id : c.off)
        std::erase(s.checked, id);
    s.checked.insert(s.checked.end(), c.on.begin(), c.on.end());
    std::sort(s.checked.begin(), s.checked.end());
    if (c.closes) {
        s.checked.clear();
        s.alphaText.clear();
        s.betaText.clear();
        --s.openDialogs;
    }
}

struct ControlCase {
    std::string name;
    DialogKind kind;
    std::vector<int> pressedBefore;  // the case's own start, on the same dialog
    int control;
    Change change;
    bool repaint;
};

void PrintTo(const ControlCase& c, std::ostream* out) {
    *out << c.name;
}

class DialogControls : public Dialogs, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(DialogControls, ChangeWhatTheirRowSays) {
    const ControlCase& c = GetParam();
    const DialogId id = newest(c.kind);
    for (int control : c.pressedBefore)
        app.pressDialogControl(id, control);
    Snapshot expected = snapshot(app, id);
    app.takeRepaintDue();

    app.pressDialogControl(id, c.control);

    apply(c.change, expected);
    EXPECT_EQ(snapshot(app, id), expected);
    EXPECT_EQ(app.takeRepaintDue(), c.repaint);
    EXPECT_EQ(app.model().elementOutlinePlot, app.state().elementOutlinePlot);
    EXPECT_EQ(app.model().nodePlot, app.state().nodePlot);
    EXPECT_EQ(app.model().elementPlot, app.state().elementPlot);
    EXPECT_EQ(app.model().contourOn, app.state().contourOn);
}

constexpr auto none = InteractionMode::none;
constexpr auto all = PlotScope::all;
constexpr auto selected = PlotScope::selected;
constexpr auto unplotted = PlotScope::none;
constexpr auto reselect = SelectMode::reselect;
constexpr auto alsoSelect = SelectMode::alsoSelect;
constexpr auto unselect = SelectMode::unselect;
constexpr auto e = DialogKind::selectElements;
constexpr auto n = DialogKind::selectNodes;
constexpr auto v = DialogKind::viewKit;

// clang-format off
const ControlCase controlCases[] = {
    {"ElementsPointPick", e, {}, 1015, {.rectanglePick = 0, .on = {1015}, .off = {1016}}, false},
    {"ElementsRectanglePick", e, {1015}, 1016, {.rectanglePick = 1, .on = {1016}, .off = {1015}}, false},
    {"ElementsOnlyFromSelected", e, {}, 1078, {.onlyElements = true, .on = {1078}}, false},
    {"ElementsOnlyFromSelectedAgain", e, {1078}, 1078, {.onlyElements = false, .off = {1078}}, false},
    {"ElementsPick", e, {}, 1066, {.mode = InteractionMode::pickElements}, false},
    {"ElementsUnpick", e, {}, 1067, {.mode = InteractionMode::unpickElements}, false},
    {"ElementsReset", e, {}, 1059, {.elementPicked = {{}}}, true},
    {"ElementsAlsoSelect", e, {}, 1061, {.elementSelectMode = alsoSelect, .on = {1061}, .off = {1060}}, false},
    {"ElementsUnselect", e, {}, 1062, {.elementSelectMode = unselect, .on = {1062}, .off = {1060}}, false},
    {"ElementsReselect", e, {1062}, 1060, {.elementSelectMode = reselect, .on = {1060}, .off = {1062}}, false},
    {"ElementsApplyReselects", e, {}, 1057, {.elementSelected = {{2, 5}}, .elementPicked = {{}}}, true},
    {"ElementsApplyAlsoSelects", e, {1061}, 1057, {.elementSelected = {{0, 1, 2, 3, 5}}, .elementPicked = {{}}}, true},
    {"ElementsApplyUnselects", e, {1062}, 1057, {.elementSelected = {{0, 1, 3}}, .elementPicked = {{}}}, true},
    {"ElementsSelectAll", e, {}, 1020, {.elementSelected = {{0, 1, 2, 3, 4, 5, 6, 7}}}, true},
    {"ElementsSelectNone", e, {}, 1021, {.elementSelected = {{}}}, true},
    {"ElementsInvert", e, {}, 1063, {.elementSelected = {{4, 5, 6, 7}}}, true},
    {"ElementsPlotSelectedOutlines", e, {}, 1018, {.outlines = selected, .on = {1018}, .off = {1017}}, true},
    {"ElementsUnplotAllOutlines", e, {}, 1019, {.outlines = unplotted, .on = {1019}, .off = {1017}}, true},
    {"ElementsPlotAllOutlines", e, {1019}, 1017, {.outlines = all, .on = {1017}, .off = {1019}}, true},
    {"ElementsPlotAllTurnsContourOff", e, {}, 1053, {.contourOn = false, .elementPlot = all, .on = {1053}, .off = {1055}}, true},
    {"ElementsPlotSelectedTurnsContourOff", e, {}, 1054, {.contourOn = false, .elementPlot = selected, .on = {1054}, .off = {1055}}, true},
    {"ElementsUnplotAllKeepsContourOff", e, {1053}, 1055, {.elementPlot = unplotted, .on = {1055}, .off = {1053}}, true},
    {"ElementsClearContour", e, {}, 1024, {.contourOn = false}, true},
    {"ElementsPlotContourUnplotsElements", e, {1054}, 1025, {.contourOn = true, .elementPlot = unplotted, .on = {1055}, .off = {1054}}, true},
    {"ElementsPan", e, {}, 1042, {.mode = InteractionMode::pan}, false},
    {"ElementsZoom", e, {}, 1043, {.mode = InteractionMode::zoomBox}, false},
    {"ElementsExitClearsPicks", e, {1015, 1067}, 1026, {.mode = none, .rectanglePick = 1, .elementPicked = {{}}, .closes = true}, true},
    {"ElementsCancelClearsPicks", e, {}, cancelControl, {.mode = none, .rectanglePick = 1, .elementPicked = {{}}, .closes = true}, true},
    {"ElementsOtherIdDoesNothing", e, {}, 1001, {}, false},

    {"NodesPointPick", n, {}, 1001, {.rectanglePick = 0, .on = {1001}, .off = {1002}}, false},
    {"NodesRectanglePick", n, {1001}, 1002, {.rectanglePick = 1, .on = {1002}, .off = {1001}}, false},
    {"NodesOnlyFromSelected", n, {}, 1079, {.onlyNodes = true, .on = {1079}}, false},
    {"NodesPick", n, {}, 1074, {.mode = InteractionMode::pickNodes}, false},
    {"NodesUnpick", n, {}, 1075, {.mode = InteractionMode::unpickNodes}, false},
    {"NodesReset", n, {}, 1076, {.nodePicked = {{}}}, true},
    {"NodesAlsoSelect", n, {}, 1072, {.nodeSelectMode = alsoSelect, .on = {1072}, .off = {1071}}, false},
    {"NodesReselect", n, {1073}, 1071, {.nodeSelectMode = reselect, .on = {1071}, .off = {1073}}, false},
    {"NodesApplyReselects", n, {}, 1068, {.nodeSelected = {{1, 9}}, .nodePicked = {{}}}, true},
    {"NodesApplyUnselects", n, {1073}, 1068, {.nodeSelected = {{0, 2, 5, 6, 7}}, .nodePicked = {{}}}, true},
    {"NodesSelectAll", n, {}, 1003, {.nodeSelected = {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}}}, true},
    {"NodesSelectNone", n, {}, 1004, {.nodeSelected = {{}}}, true},
    {"NodesInvert", n, {}, 1070, {.nodeSelected = {{3, 4, 8, 9, 10, 11, 12, 13, 14}}}, true},
    {"NodesInSelectedElements", n, {}, 1056, {.nodePlot = selected, .nodeSelected = {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, .on = {1051}, .off = {1050}}, true},
    {"NodesPlotSelected", n, {}, 1051, {.nodePlot = selected, .on = {1051}, .off = {1050}}, true},
    {"NodesUnplotAll", n, {}, 1052, {.nodePlot = unplotted, .on = {1052}, .off = {1050}}, true},
    {"NodesPlotAll", n, {1052}, 1050, {.nodePlot = all, .on = {1050}, .off = {1052}}, true},
    {"NodesPan", n, {}, 1042, {.mode = InteractionMode::pan}, false},
    {"NodesZoom", n, {}, 1043, {.mode = InteractionMode::zoomBox}, false},
    // Node picks stay, and nothing is repainted.
    {"NodesExitKeepsPicks", n, {1075}, 1008, {.mode = none, .rectanglePick = 1, .closes = true}, false},
    {"NodesCancelKeepsPicks", n, {}, cancelControl, {.mode = none, .rectanglePick = 1, .closes = true}, false},

    {"ViewKitPan", v, {}, 1042, {.mode = InteractionMode::pan}, false},
    {"ViewKitZoom", v, {}, 1043, {.mode = InteractionMode::zoomBox}, false},
    {"ViewKitExit", v, {}, 1014, {.closes = true}, false},
    {"ViewKitCancel", v, {}, cancelControl, {.closes = true}, false},
    {"ViewKitEditFieldIsNoButton", v, {}, 1009, {}, false},
    {"ViewKitEnterIsIgnored", v, {}, 1, {}, false},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, DialogControls, ::testing::ValuesIn(controlCases),
                         [](const auto& info) { return info.param.name; });

// "All" refits whatever pan and zoom did, in each dialog, and changes nothing else.
TEST_F(Dialogs, AllFitsTheWholeModelInEachDialog) {
    for (DialogKind kind :
         {DialogKind::viewKit, DialogKind::selectElements, DialogKind::selectNodes}) {
        app.wheel(120, 100, 100);
        ASSERT_NE(app.camera().scale, fittedScale);
        const Snapshot before = snapshot(app, newest(kind));
        press(kind, 1041);
        EXPECT_EQ(app.camera().scale, fittedScale);
        EXPECT_EQ(app.camera().originX, 200);
        Snapshot after = snapshot(app, newest(kind));
        after.scale = before.scale;
        EXPECT_EQ(after, before);
        EXPECT_TRUE(app.takeRepaintDue());
    }
}

// --- Opening.

TEST(DialogOpening, SelectElementsShowsTheSharedStateAndPlotsAllOutlines) {
    Application app;
    app.command(plotSelectedElementOutlinesCommand);
    app.command(plotSelectedElementsCommand);
    app.setRectanglePick(false);
    app.setOnlyFromSelectedElements(true);
    app.takeRepaintDue();

    EXPECT_EQ(app.command(selectElementsCommand), CommandOutcome::dialogOpened);

    const DialogState* dialog = app.newestDialog(DialogKind::selectElements);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->checked, (std::vector<int>{1015, 1017, 1054, 1060, 1078}));
    EXPECT_EQ(app.state().interactionMode, InteractionMode::pickElements);
    EXPECT_EQ(app.state().elementOutlinePlot, PlotScope::all);
    EXPECT_EQ(app.model().elementOutlinePlot, PlotScope::all);
    EXPECT_TRUE(app.isChecked(plotAllElementOutlinesCommand));
    EXPECT_TRUE(app.state().selectElementsDialogOpen);
    EXPECT_TRUE(app.takeRepaintDue());
}

TEST(DialogOpening, SelectNodesPlotsAllNodesAndOutlines) {
    Application app;
    app.command(unplotAllNodesCommand);
    app.command(selectElementsCommand);
    app.pressDialogControl(app.newestDialog(DialogKind::selectElements)->id, 1019);
    app.pressDialogControl(app.newestDialog(DialogKind::selectElements)->id, 1062);
    app.takeRepaintDue();

    app.command(selectNodesCommand);

    const DialogState* dialog = app.newestDialog(DialogKind::selectNodes);
    EXPECT_EQ(dialog->checked, (std::vector<int>{1002, 1050, 1071}));
    EXPECT_EQ(app.state().interactionMode, InteractionMode::pickNodes);
    EXPECT_EQ(app.model().nodePlot, PlotScope::all);
    EXPECT_EQ(app.model().elementOutlinePlot, PlotScope::all);
    // The open element dialog shows the outlines as they now are.
    EXPECT_TRUE(app.newestDialog(DialogKind::selectElements)->isChecked(1017));
    EXPECT_TRUE(app.takeRepaintDue());
}

TEST(DialogOpening, ViewKitShowsTheStoredAnglesAndRepaintsNothing) {
    Application app;
    app.takeRepaintDue();
    app.command(viewKitCommand);
    const DialogState* dialog = app.newestDialog(DialogKind::viewKit);
    EXPECT_EQ(dialog->alphaText, "45.00");
    EXPECT_EQ(dialog->betaText, "35.26");
    EXPECT_TRUE(dialog->checked.empty());
    EXPECT_EQ(app.state().interactionMode, InteractionMode::none);
    EXPECT_TRUE(app.state().viewKitDialogOpen);
    EXPECT_FALSE(app.takeRepaintDue());
}

// --- Several dialogs.

TEST_F(Dialogs, EveryChoiceOpensAnotherAndClosingOneClosesOnlyThatOne) {
    const DialogId first = newest(DialogKind::viewKit);
    app.command(viewKitCommand);
    const DialogId second = newest(DialogKind::viewKit);
    ASSERT_NE(first, second);
    app.pressDialogControl(first, ViewKitControl::lastStandardView);  // ES- in the older one
    EXPECT_EQ(app.dialog(first)->alphaText, "-45.00");
    EXPECT_EQ(app.dialog(second)->alphaText, "-90.00");  // each shows its own

    EXPECT_EQ(app.pressDialogControl(second, cancelControl).action, DialogAction::closed);
    EXPECT_EQ(app.dialog(second), nullptr);
    EXPECT_EQ(newest(DialogKind::viewKit), first);
    EXPECT_TRUE(app.state().viewKitDialogOpen);
    app.pressDialogControl(first, ViewKitControl::exit);
    EXPECT_FALSE(app.state().viewKitDialogOpen);
    EXPECT_EQ(app.pressDialogControl(first, ViewKitControl::all).action, DialogAction::none);
}

// The two selection dialogs share the mouse: the last button pressed decides, and
// closing one leaves the mouse in mode none while the other stays open.
TEST_F(Dialogs, SelectionDialogsShareTheMouse) {
    press(DialogKind::selectElements, SelectElementsControl::pointPick);
    EXPECT_EQ(app.state().rectanglePick, 0);
    EXPECT_TRUE(app.newestDialog(DialogKind::selectNodes)->isChecked(1002));
    press(DialogKind::selectNodes, SelectNodesControl::unpick);
    const Pixel node1 = app.camera().viewToPixel(1.0, 0.0);
    app.leftButtonDown(node1.x, node1.y);  // an unpick at a point
    EXPECT_EQ(app.model().nodePicked, flags(15, {9}));

    press(DialogKind::selectNodes, SelectNodesControl::exit);
    EXPECT_TRUE(app.state().selectElementsDialogOpen);
    EXPECT_FALSE(app.state().selectNodesDialogOpen);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::none);
    EXPECT_EQ(app.state().rectanglePick, 1);
    press(DialogKind::selectElements, SelectElementsControl::unpick);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::unpickElements);
}

// A press of "Only Operate From Selected ..." toggles the option, whichever open
// dialog of the kind it comes from, and every box of the kind then shows it.
TEST_F(Dialogs, OnlyFromSelectedTogglesAndEveryBoxOfTheKindShowsIt) {
    struct Kind {
        DialogKind kind;
        int openCommand, box;
        bool AppState::*option;
    };
    for (const Kind& k :
         {Kind{DialogKind::selectElements, selectElementsCommand,
               SelectElementsControl::onlyFromSelected, &AppState::onlyFromSelectedElements},
          Kind{DialogKind::selectNodes, selectNodesCommand, SelectNodesControl::onlyFromSelected,
               &AppState::onlyFromSelectedNodes}}) {
        const DialogId older = newest(k.kind);
        app.command(k.openCommand);
        const DialogId newer = newest(k.kind);
        for (const bool expected : {true, false, true}) {
            // Alternately from the older and the newer one.
            app.pressDialogControl(expected == false ? newer : older, k.box);
            EXPECT_EQ(app.state().*k.option, expected);
            EXPECT_EQ(app.dialog(older)->isChecked(k.box), expected);
            EXPECT_EQ(app.dialog(newer)->isChecked(k.box), expected);
        }
        app.command(k.openCommand);
        EXPECT_TRUE(app.dialog(newest(k.kind))->isChecked(k.box));
    }
}

// --- The View Kit's texts and angles.

struct ViewCase {
    int control;
    double alpha, beta;
    const char* alphaText;
    const char* betaText;
};

void PrintTo(const ViewCase& c, std::ostream* out) {
    *out << c.control;
}

class StandardViews : public Dialogs, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(StandardViews, ShowStoreAndApplyTheirAnglesFitted) {
    const ViewCase& c = GetParam();
    press(DialogKind::viewKit, c.control);
    const DialogState& dialog = *app.newestDialog(DialogKind::viewKit);
    EXPECT_EQ(dialog.alphaText, c.alphaText);
    EXPECT_EQ(dialog.betaText, c.betaText);
    EXPECT_EQ(app.state().viewAlphaDegrees, c.alpha);
    EXPECT_EQ(app.state().viewBetaDegrees, c.beta);
    Application reference;
    reference.adoptFile(testing::squareGrid(4, 2), "grid.txt");
    reference.resize(400, 300);
    reference.applyViewAngles(c.alpha, c.beta, true);
    EXPECT_EQ(app.camera().viewMatrix, reference.camera().viewMatrix);
    EXPECT_EQ(app.camera().scale, reference.camera().scale);
    EXPECT_TRUE(app.takeRepaintDue());
}

INSTANTIATE_TEST_SUITE_P(Buttons, StandardViews,
                         ::testing::Values(ViewCase{1027, -90, 90, "-90.00", "90.00"},
                                           ViewCase{1028, -90, -90, "-90.00", "-90.00"},
                                           ViewCase{1029, 90, 0, "90.00", "0.00"},
                                           ViewCase{1030, -90, 0, "-90.00", "0.00"},
                                           ViewCase{1031, 0, 0, "0.00", "0.00"},
                                           ViewCase{1032, 180, 0, "180.00", "0.00"},
                                           ViewCase{1033, 45, 35.26, "45.00", "35.26"},
                                           ViewCase{1034, 45, -35.26, "45.00", "-35.26"},
                                           ViewCase{1035, 135, 35.26, "135.00", "35.26"},
                                           ViewCase{1036, 135, -35.26, "135.00", "-35.26"},
                                           ViewCase{1037, -135, 35.26, "-135.00", "35.26"},
                                           ViewCase{1038, -135, -35.26, "-135.00", "-35.26"},
                                           ViewCase{1039, -45, 35.26, "-45.00", "35.26"},
                                           ViewCase{1040, -45, -35.26, "-45.00", "-35.26"}));

// Apply takes the typed texts as they are, without a fit and without re-formatting.
TEST_F(Dialogs, ApplyReadsTheTextsWithoutRefitting) {
    const DialogId kit = newest(DialogKind::viewKit);
    const double zoomedScale = app.camera().scale;
    app.setDialogText(kit, ViewKitControl::alphaEdit, "  0abc");
    app.setDialogText(kit, ViewKitControl::betaEdit, "0");
    EXPECT_EQ(app.state().viewAlphaDegrees, -90.0);  // nothing happens before Apply
    app.takeRepaintDue();

    app.pressDialogControl(kit, ViewKitControl::apply);

    EXPECT_EQ(app.state().viewAlphaDegrees, 0.0);
    EXPECT_EQ(app.state().viewBetaDegrees, 0.0);
    EXPECT_EQ(app.camera().scale, zoomedScale);
    EXPECT_EQ(app.dialog(kit)->alphaText, "  0abc");
    EXPECT_TRUE(app.takeRepaintDue());
    // From +x: world y to the right, z up.
    EXPECT_DOUBLE_EQ(app.camera().viewMatrix[1 * 4 + 0], 1.0);
    // O returns to the applied angles.
    app.character(U'o');
    EXPECT_EQ(app.camera().alpha, 0.0);
}

// Apply reads at most 99 bytes of a field, as atof reads them: "1" and 120 zeros is
// 1e98, and "-1e-400" is -0, which a new View Kit shows as "-0.00".
TEST_F(Dialogs, ApplyReadsNinetyNineBytesOfEachFieldAsAtofDoes) {
    const DialogId kit = newest(DialogKind::viewKit);
    app.setDialogText(kit, ViewKitControl::alphaEdit, "1" + std::string(120, '0'));
    app.setDialogText(kit, ViewKitControl::betaEdit, "-1e-400");
    app.pressDialogControl(kit, ViewKitControl::apply);
    EXPECT_EQ(app.state().viewAlphaDegrees, 1e98);
    EXPECT_EQ(app.state().viewBetaDegrees, 0.0);
    EXPECT_TRUE(std::signbit(app.state().viewBetaDegrees));
    app.command(viewKitCommand);
    EXPECT_EQ(app.newestDialog(DialogKind::viewKit)->betaText, "-0.00");
    EXPECT_EQ(readAngleField(std::string(98, ' ') + "12"), 1.0);  // the 2 is not read
}

struct ParseCase {
    const char* text;
    double value;
};

void PrintTo(const ParseCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class AngleTexts : public ::testing::TestWithParam<ParseCase> {};

TEST_P(AngleTexts, ReadLikeAtofInTheCLocale) {
    const double value = parseAngleText(GetParam().text);
    EXPECT_EQ(value, GetParam().value);
    EXPECT_FALSE(std::signbit(value) && value == 0.0) << "negative zero";
}

// Too small for a double: zero of its sign, decimal or hexadecimal, as atof gives;
// the smallest subnormal is still a number.
TEST(AngleText, UnderflowIsZeroOfItsSign) {
    for (const char* text : {"-1e-400", "-2.4e-324", "-0x1p-1080", "-1e-99999"}) {
        EXPECT_EQ(parseAngleText(text), 0.0) << text;
        EXPECT_TRUE(std::signbit(parseAngleText(text))) << text;
    }
    EXPECT_EQ(parseAngleText("-3e-324"), -4.9406564584124654e-324);
    EXPECT_EQ(parseAngleText("0x1p-1074"), 4.9406564584124654e-324);
    EXPECT_EQ(parseAngleText("-1e99999"), 0.0);
    EXPECT_FALSE(std::signbit(parseAngleText("-1e99999")));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AngleTexts,
    ::testing::Values(ParseCase{"12abc", 12}, ParseCase{"  -3.5", -3.5}, ParseCase{"abc", 0},
                      ParseCase{"", 0}, ParseCase{"\t\n+7.25e1x", 72.5}, ParseCase{".5", 0.5},
                      ParseCase{"5.", 5}, ParseCase{"1e", 1}, ParseCase{"-", 0},
                      ParseCase{"- 3", 0}, ParseCase{"+-3", 0}, ParseCase{"0,5", 0},
                      ParseCase{"0x1A", 26}, ParseCase{"0x", 0}, ParseCase{"1e-400", 0},
                      // Not finite: taken as no number at all.
                      ParseCase{"1e999", 0}, ParseCase{"-1e999", 0}, ParseCase{"nan", 0},
                      ParseCase{"inf", 0}, ParseCase{"-Infinity", 0}));

TEST(AngleText, FormatsTwoDecimalsWithAFullStopInAnyLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");  // a comma-decimal locale, when installed
    EXPECT_EQ(formatAngleText(45.0), "45.00");
    EXPECT_EQ(formatAngleText(-35.26), "-35.26");
    EXPECT_EQ(formatAngleText(0.005), "0.01");
    EXPECT_EQ(formatAngleText(1e20), "100000000000000000000.00");
    EXPECT_EQ(parseAngleText("0.5"), 0.5);
    std::setlocale(LC_ALL, previous.c_str());
}

// --- Files and reports.

TEST_F(Dialogs, FileButtonsAskTheShellForAPath) {
    const DialogOutcome read = press(DialogKind::selectElements, SelectElementsControl::fromFile);
    ASSERT_EQ(read.action, DialogAction::chooseFile);
    EXPECT_FALSE(read.file.save);
    EXPECT_EQ(read.file.title, "Read selected elements from file");
    EXPECT_EQ(read.file.filter, "Text Files (*.txt)");
    EXPECT_TRUE(read.file.startPath.empty());
    // Cancel changes nothing, not even the remembered path.
    const Snapshot before = snapshot(app, newest(DialogKind::selectElements));
    EXPECT_EQ(app.answerFileRequest(newest(DialogKind::selectElements), std::nullopt).action,
              DialogAction::none);
    EXPECT_EQ(snapshot(app, newest(DialogKind::selectElements)), before);
    EXPECT_TRUE(app.state().elementSelectionFileName.empty());
    EXPECT_FALSE(app.takeRepaintDue());

    const DialogOutcome write = press(DialogKind::selectNodes, SelectNodesControl::toFile);
    ASSERT_EQ(write.action, DialogAction::chooseFile);
    EXPECT_TRUE(write.file.save);
    EXPECT_EQ(write.file.title, "Write selected elements to file");
}

// A listing that cannot be written is a message for the user; nothing is opened.
TEST_F(Dialogs, ListStressesThatCannotBeWrittenIsAMessage) {
    const testing::TempDir dir;
    const std::filesystem::path gone = dir.file("gone");
    std::filesystem::create_directory(gone);
    const testing::InDirectory here(gone);
    std::filesystem::remove(gone);
    const DialogOutcome listed =
        press(DialogKind::selectElements, SelectElementsControl::listStresses);
    EXPECT_EQ(listed.action, DialogAction::showMessage);
    EXPECT_NE(listed.message.find("SelectedElemStress.txt"), std::string::npos) << listed.message;
    EXPECT_FALSE(app.takeRepaintDue());
}

// An answer with no question pending, or to a closed dialog, does nothing.
TEST_F(Dialogs, StrayFileAnswersAreIgnored) {
    const DialogId elements = newest(DialogKind::selectElements);
    EXPECT_EQ(app.answerFileRequest(elements, "x.txt").action, DialogAction::none);
    EXPECT_TRUE(app.state().elementSelectionFileName.empty());
    press(DialogKind::selectElements, SelectElementsControl::toFile);
    press(DialogKind::selectElements, SelectElementsControl::exit);
    EXPECT_EQ(app.answerFileRequest(elements, "x.txt").action, DialogAction::none);
}

}  // namespace
}  // namespace corvelt
