// What the program tells the user beyond the picture: counts, the status texts of
// file operations, the question before an empty listing, and the controls' tooltips.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <set>
#include <string>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/CommandId.h"
#include "app/CountText.h"
#include "app/DialogControlId.h"
#include "app/DialogTemplate.h"
#include "app/DialogTooltips.h"
#include "app/FileMessages.h"

namespace corvelt {
namespace {

struct CountCase {
    std::int64_t count;
    std::string text;
};

class Counts : public ::testing::TestWithParam<CountCase> {};

TEST_P(Counts, GroupThousandsFromFiveDigitsOn) {
    EXPECT_EQ(countText(GetParam().count), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Texts, Counts,
                         ::testing::Values(CountCase{0, "0"}, CountCase{999, "999"},
                                           CountCase{3072, "3072"}, CountCase{9999, "9999"},
                                           CountCase{10000, "10 000"}, CountCase{999924, "999 924"},
                                           CountCase{1000000, "1 000 000"},
                                           CountCase{-12345, "-12 345"},
                                           CountCase{std::numeric_limits<std::int64_t>::min(),
                                                     "-9 223 372 036 854 775 808"}));

TEST(FileMessages, NameTheFileAndCountWhatWasDone) {
    EXPECT_EQ(selectionWrittenText(ItemKind::elements, 3072, "/data/plate-sel.txt"),
              "Wrote 3072 elements to plate-sel.txt");
    EXPECT_EQ(selectionWrittenText(ItemKind::nodes, 1, "n.txt"), "Wrote 1 node to n.txt");
    EXPECT_EQ(selectionReadText(ItemKind::elements, {4, 2}, "dir/f.txt"),
              "Read 4 elements from f.txt; 2 indices outside the model skipped");
    EXPECT_EQ(selectionReadText(ItemKind::nodes, {999924, 1}, "f.txt"),
              "Read 999 924 nodes from f.txt; 1 index outside the model skipped");
    EXPECT_EQ(selectionReadText(ItemKind::nodes, {0, 0}, "empty.txt"),
              "Read 0 nodes from empty.txt");
    EXPECT_EQ(listingWrittenText("/work/SelectedElemStress.txt"),
              "Listing written: SelectedElemStress.txt");
    // A name that is not UTF-8 keeps all its bytes, escaped.
    EXPECT_EQ(selectionWrittenText(ItemKind::elements, 2, "sel\xff.txt"),
              "Wrote 2 elements to sel\\xFF.txt");
}

class FeedbackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app.adoptFile(testing::squareGrid(4, 2), "grid.txt");  // 8 elements, 15 nodes
        app.command(selectElementsCommand);
        app.command(selectNodesCommand);
        elements = app.newestDialog(DialogKind::selectElements)->id;
        nodes = app.newestDialog(DialogKind::selectNodes)->id;
    }

    // A file button pressed and answered with the path.
    DialogOutcome fileButton(DialogId dialog, int control, const std::filesystem::path& path) {
        EXPECT_EQ(app.pressDialogControl(dialog, control).action, DialogAction::chooseFile);
        return app.answerFileRequest(dialog, path);
    }

    testing::TempDir dir;
    Application app;
    DialogId elements = 0;
    DialogId nodes = 0;
};

TEST_F(FeedbackTest, FileOperationsSayWhatTheyDid) {
    EXPECT_EQ(fileButton(elements, SelectElementsControl::toFile, dir.file("plate-sel.txt")).status,
              "Wrote 8 elements to plate-sel.txt");
    std::ofstream(dir.file("f.txt")) << "1 2 2 3 4\n15 -1 99999999999\n";
    EXPECT_EQ(fileButton(nodes, SelectNodesControl::fromFile, dir.file("f.txt")).status,
              "Read 4 nodes from f.txt; 3 indices outside the model skipped");

    const testing::InDirectory here(dir.path());
    const DialogOutcome listed = app.pressDialogControl(nodes, SelectNodesControl::listStresses);
    EXPECT_EQ(listed.action, DialogAction::openReport);
    EXPECT_EQ(listed.status, "Listing written: SelectedNodeStress.txt");
}

// A failure is a message, not a status; a cancelled file dialog says nothing.
TEST_F(FeedbackTest, FailuresAndCancelsHaveNoStatus) {
    const DialogOutcome refused =
        fileButton(elements, SelectElementsControl::fromFile, dir.file("missing.txt"));
    EXPECT_EQ(refused.action, DialogAction::showMessage);
    EXPECT_TRUE(refused.status.empty());
    app.pressDialogControl(elements, SelectElementsControl::toFile);
    EXPECT_TRUE(app.answerFileRequest(elements, std::nullopt).status.empty());
}

// Asked only of List Stresses with nothing of its kind selected; the press itself
// still writes the listing, as the batch mode does.
TEST_F(FeedbackTest, AnEmptyListingIsQuestionedFirst) {
    EXPECT_EQ(app.questionBeforePress(elements, SelectElementsControl::listStresses), std::nullopt);
    app.pressDialogControl(elements, SelectElementsControl::selectNone);
    EXPECT_EQ(app.questionBeforePress(elements, SelectElementsControl::listStresses),
              "No element is selected. Write an empty listing?");
    EXPECT_EQ(app.questionBeforePress(elements, SelectElementsControl::toFile), std::nullopt);
    EXPECT_EQ(app.questionBeforePress(nodes, SelectNodesControl::listStresses), std::nullopt);
    app.pressDialogControl(nodes, SelectNodesControl::selectNone);
    EXPECT_EQ(app.questionBeforePress(nodes, SelectNodesControl::listStresses),
              "No node is selected. Write an empty listing?");
    // 1007 is List Stresses only in the node dialog.
    EXPECT_EQ(app.questionBeforePress(elements, SelectNodesControl::listStresses), std::nullopt);

    const testing::InDirectory here(dir.path());
    EXPECT_EQ(app.pressDialogControl(elements, SelectElementsControl::listStresses).action,
              DialogAction::openReport);
    EXPECT_EQ(testing::readText(dir.file("SelectedElemStress.txt")), "");
    app.pressDialogControl(elements, SelectElementsControl::exit);
    EXPECT_EQ(app.questionBeforePress(elements, SelectElementsControl::listStresses), std::nullopt);
}

// Every control and label of the three tool windows, each with its own sentence.
TEST(Tooltips, EveryControlOfTheToolWindowsSaysWhatItDoes) {
    for (const DialogKind kind :
         {DialogKind::viewKit, DialogKind::selectElements, DialogKind::selectNodes}) {
        std::set<std::string_view> seen;
        for (const ControlGroup& group : dialogTemplate(kind).groups)
            for (const DialogControl& control : group.controls) {
                const std::string_view tip = controlTooltip(kind, control);
                EXPECT_FALSE(tip.empty()) << control.id << ' ' << control.text;
                if (control.kind != ControlKind::label && control.kind != ControlKind::edit) {
                    EXPECT_NE(tip, control.text) << control.id;
                }
                seen.insert(tip);
            }
        EXPECT_GE(seen.size(), 14u);
    }
    const auto tip = [](DialogKind kind, int id) {
        return std::string(controlTooltip(kind, *findControl(kind, id)));
    };
    EXPECT_EQ(tip(DialogKind::viewKit, 1033), "View from the east-north diagonal, from above");
    for (const int angle : {ViewKitControl::alphaEdit, ViewKitControl::betaEdit})
        EXPECT_NE(tip(DialogKind::viewKit, angle).find("in degrees"), std::string::npos);
    EXPECT_NE(tip(DialogKind::viewKit, ViewKitControl::alphaEdit).find("azimuth"),
              std::string::npos);
    EXPECT_NE(tip(DialogKind::viewKit, ViewKitControl::betaEdit).find("elevation"),
              std::string::npos);
}

}  // namespace
}  // namespace corvelt
