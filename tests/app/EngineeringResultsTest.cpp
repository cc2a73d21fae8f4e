// Faces, derived quantities and the legend's options, as menus, scripts, the Legend
// dialog and the state dump reach them.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "app/Application.h"
#include "app/BatchRunner.h"
#include "app/CommandId.h"
#include "app/DialogControlId.h"
#include "app/MenuTable.h"
#include "app/StateDump.h"
#include "model/FaceStress.h"
#include "model/PrincipalStress.h"

namespace corvelt {
namespace {

// One unit square seen from +z: surface 1 in tension (Sx 10 .. 40 over the corners,
// Txy 5), surface 2 in compression (Sx -10 .. -40); stored Se 1 and 2.
ResultData bentSquare() {
    ResultData data;
    data.nodes = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    data.connectivity = {0, 1, 2, 3};
    ElementStressBlock block{};
    for (int j = 0; j < 4; ++j) {
        block.surfaces[0][j] = {10.0 * (j + 1), 0, 0, 5, 0, 0, 1};
        block.surfaces[1][j] = {-10.0 * (j + 1), 0, 0, 5, 0, 0, 2};
    }
    data.elementStresses = {block};
    return data;
}

class Results : public ::testing::Test {
  protected:
    void SetUp() override {
        app.adoptFile(bentSquare(), "bent.txt");
        app.resize(400, 400);
        app.applyViewAngles(-90, 90, true);  // from +z: surface 1 faces the viewer
    }
    std::optional<BatchFailure> run(const std::string& script) {
        std::istringstream in(script);
        return runBatch(in, app, nullptr);
    }
    nlohmann::json state(const ProbeAtPixel* probe = nullptr) {
        std::ostringstream out;
        writeStateJson(out, app, probe);
        return nlohmann::json::parse(out.str());
    }
    std::set<int> checkedOf(int first, int last) {
        std::set<int> checked;
        for (int id = first; id <= last; ++id)
            if (app.isChecked(id)) checked.insert(id);
        return checked;
    }
    Application app;
};

TEST_F(Results, ExactlyOneQuantityAndOneFaceCarryAMark) {
    const auto quantityMarks = [&] {
        std::set<int> marks = checkedOf(40003, 40009);
        marks.merge(checkedOf(40060, 40063));
        return marks;
    };
    EXPECT_EQ(quantityMarks(), std::set<int>{40009});
    EXPECT_EQ(checkedOf(40050, 40055), std::set<int>{40050});
    for (const int id : {40061, 40063, 40004, 40060}) {
        app.command(id);
        EXPECT_EQ(quantityMarks(), std::set<int>{id});
    }
    EXPECT_EQ(app.state().componentIndex, P1);
    EXPECT_EQ(app.state().checkedComponentItem(), 40060);
    app.command(40054);
    EXPECT_EQ(checkedOf(40050, 40055), std::set<int>{40054});
    EXPECT_EQ(app.model().contourFace, ShellFace::bending);
    // The new items are the application's, beside the menu table, and stay out of
    // the state's list of the table's checked items.
    EXPECT_TRUE(isApplicationCommand(40054) && isApplicationCommand(40070));
    EXPECT_FALSE(isMenuCommand(40060));
    const nlohmann::json s = state();
    for (const int id : s["checkedMenuItems"]) EXPECT_LT(id, 40040);
    EXPECT_EQ(s["appState"]["componentIndex"], 7);
    EXPECT_EQ(s["legend"]["quantity"], "P1");
    EXPECT_EQ(s["legend"]["face"], "bending");
}

TEST_F(Results, TheLegendsLimitsAreThoseOfTheFaceShown) {
    const auto limits = [&] { return state()["legend"]["limits"]; };
    app.command(40003);
    // Facing: both surfaces count.
    EXPECT_EQ(limits().front(), -40.0);
    EXPECT_EQ(limits().back(), 40.0);
    app.command(40051);  // surface 1 only
    EXPECT_EQ(limits().front(), 10.0);
    app.command(40053);  // membrane: Sx cancels, Se is the combined von Mises
    EXPECT_EQ(limits().front(), 0.0);
    EXPECT_EQ(limits().back(), 0.0);
    app.command(40009);
    EXPECT_EQ(limits().back(), vonMisesStress({0, 0, 0, 5, 0, 0, 0}));
    app.command(40055);  // envelope of the stored Se: the larger, 2
    EXPECT_EQ(limits().front(), 2.0);
    app.command(40063);  // envelope of the intensity
    const double sint =
        principalStresses(app.model().elementStresses[0].surfaces[0][3]).intensity;
    EXPECT_EQ(limits().back(), sint);
}

TEST_F(Results, TheProbeReadsTheChosenFace) {
    app.command(40060);
    app.command(40054);
    // A quarter of the way from corner 2 to the centre.
    const ViewCamera& camera = app.camera();
    const Point2D corner = app.model().projectedNodes[2];
    const Point2D centre = {(app.model().projectedNodes[0].x + corner.x) / 2,
                            (app.model().projectedNodes[0].y + corner.y) / 2};
    const Point2D at{centre.x + 0.75 * (corner.x - centre.x), centre.y + 0.75 * (corner.y - centre.y)};
    const int x = camera.originX + static_cast<int>((at.x - camera.centerX) * camera.scale);
    const int y = camera.originY - static_cast<int>((at.y - camera.centerY) * camera.scale);
    const std::optional<ProbeReading> reading = app.probe(x, y);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->corner, 2);
    const StressRecord bending = bendingStress(app.model().elementStresses[0].surfaces[0][2],
                                               app.model().elementStresses[0].surfaces[1][2]);
    EXPECT_EQ(reading->cornerQuantities[3][P1], principalStresses(bending).p1);
    EXPECT_EQ(reading->cornerQuantities[0][Se], 1.0);
    const ProbeAtPixel probe{{x, y}, reading};
    const nlohmann::json p = state(&probe)["probe"];
    EXPECT_EQ(p["quantity"], "P1");
    EXPECT_EQ(p["face"], "bending");
    EXPECT_EQ(p["surface"], 0);
}

TEST_F(Results, ScriptsSetEveryLegendOptionAndRefuseBadValues) {
    const auto failure = run(
        "legend bands 17\nlegend range -5 2.5e1\nlegend format scientific 4\nlegend title on\n"
        "legend units   N/mm^2 (top)  \nlegend backing on\n");
    ASSERT_FALSE(failure) << failure->message;
    const nlohmann::json legend = state()["legend"];
    EXPECT_EQ(legend["bandCount"], 17);
    EXPECT_EQ(legend["limits"].size(), 18u);
    EXPECT_EQ(legend["limits"].front(), -5.0);
    EXPECT_EQ(legend["limits"].back(), 25.0);
    EXPECT_EQ(legend["rangeMode"], "fixed");
    EXPECT_EQ(legend["fixedMax"], 25.0);
    EXPECT_EQ(legend["format"], "scientific");
    EXPECT_EQ(legend["digits"], 4);
    EXPECT_EQ(legend["title"], true);
    EXPECT_EQ(legend["units"], "N/mm^2 (top)");
    EXPECT_EQ(legend["backing"], true);
    ASSERT_FALSE(run("legend range auto\nlegend units\nlegend format general\n"));
    EXPECT_EQ(state()["legend"]["fixedMin"], nullptr);
    EXPECT_EQ(state()["legend"]["units"], "");
    EXPECT_EQ(state()["legend"]["digits"], 4);

    const LegendOptions before = app.legendOptions();
    for (const char* bad :
         {"legend bands 1", "legend bands 25", "legend bands 9.5", "legend range 3 3",
          "legend range 1 nan", "legend range 0 1e999", "legend range 0", "legend format fixed 11",
          "legend format fixed", "legend format octal 2", "legend title maybe", "legend colour red",
          "legend"}) {
        const auto refused = run(bad);
        ASSERT_TRUE(refused) << bad;
        EXPECT_EQ(refused->line, 1);
        EXPECT_FALSE(refused->message.empty());
    }
    EXPECT_EQ(app.legendOptions(), before);
    EXPECT_NE(run("legend bands 30")->message.find("2 to 24"), std::string::npos);
}

TEST_F(Results, TheLegendDialogAppliesAllOrNothing) {
    app.command(legendCommand);
    const DialogState* dialog = app.newestDialog(DialogKind::legend);
    ASSERT_NE(dialog, nullptr);
    const DialogId id = dialog->id;
    EXPECT_EQ(*dialog->text(LegendControl::bandsEdit), "9");
    EXPECT_TRUE(dialog->isChecked(LegendControl::automaticRange));
    EXPECT_TRUE(dialog->isChecked(LegendControl::generalFormat));

    app.setDialogText(id, LegendControl::bandsEdit, "12");
    app.pressDialogControl(id, LegendControl::fixedRange);
    app.setDialogText(id, LegendControl::minEdit, "5");
    app.setDialogText(id, LegendControl::maxEdit, "1");
    app.pressDialogControl(id, LegendControl::title);
    app.pressDialogControl(id, LegendControl::apply);
    EXPECT_EQ(app.legendOptions(), LegendOptions{});  // nothing changed
    EXPECT_EQ(app.dialog(id)->faultyField, LegendControl::minEdit);
    EXPECT_NE(app.dialog(id)->message.find("Min must be less than Max"), std::string::npos);

    app.setDialogText(id, LegendControl::maxEdit, " 50 ");
    app.pressDialogControl(id, LegendControl::scientificFormat);
    app.setDialogText(id, LegendControl::digitsEdit, "2");
    app.pressDialogControl(id, LegendControl::apply);
    const LegendOptions& applied = app.legendOptions();
    EXPECT_EQ(applied.bands, 12);
    EXPECT_TRUE(applied.fixedRange());
    EXPECT_EQ(applied.fixedMax, 50.0);
    EXPECT_EQ(applied.format, LegendNumberFormat::scientific);
    EXPECT_TRUE(applied.title);
    EXPECT_TRUE(app.dialog(id)->message.empty());
    EXPECT_EQ(*app.dialog(id)->text(LegendControl::maxEdit), "50");
    EXPECT_EQ(state()["dialogs"]["legend"]["count"], 1);

    app.pressDialogControl(id, LegendControl::close);
    EXPECT_EQ(app.newestDialog(DialogKind::legend), nullptr);
}

}  // namespace
}  // namespace corvelt
