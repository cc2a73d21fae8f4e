// Selection list files and stress listings from batch scripts and the application.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/BatchRunner.h"
#include "select/SelectionFile.h"
#include "select/StressReport.h"

namespace corvelt {
namespace {

TEST(ListingBatchParsing, BadLinesAreRefusedWithAReason) {
    const std::pair<std::string, std::string> cases[] = {
        {"selection", "selection takes write|read, elements|nodes and a PATH"},
        {"selection write elements", "selection takes write|read"},
        {"selection copy elements a.txt", "expected write or read, not \"copy\""},
        {"selection read faces a.txt", "expected elements or nodes, not \"faces\""},
        {"selection read Nodes a.txt", "expected elements or nodes"},
        {std::string("selection write nodes a\0b.txt", 29), "a PATH cannot contain a NUL byte"},
        {"report", "report takes 1 argument"},
        {"report nodes now", "report takes 1 argument"},
        {"report all", "expected elements or nodes, not \"all\""},
    };
    for (const auto& [text, reason] : cases) {
        try {
            parseBatchLine(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const BatchLineError& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    }
}

class ListingBatch : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::writeResultFile(dir.file("grid.txt"), testing::squareGrid(4, 2));
        app.openFile(dir.file("grid.txt"));
        app.takeRepaintDue();
    }

    std::optional<BatchFailure> run(const std::string& script) {
        std::istringstream in(script);
        return runBatch(in, app, nullptr);
    }

    testing::TempDir dir;
    Application app;
};

TEST_F(ListingBatch, SelectionFilesAreWrittenAndReadByKind) {
    const std::string elements = dir.file("elements list.txt").string();
    std::ofstream(elements) << "1 3\n";
    std::ofstream(dir.file("nodes.txt")) << "14\n0\n";
    const auto failure = run("selection read elements " + elements + "\nselection read nodes " +
                             dir.file("nodes.txt").string() + "\nselection write nodes " +
                             dir.file("out.txt").string() + "\n");
    ASSERT_FALSE(failure) << failure->message;
    EXPECT_EQ(app.model().elementSelected, (std::vector<std::uint8_t>{0, 1, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(testing::readText(dir.file("out.txt")), "0\n14\n");
    EXPECT_EQ(app.state().elementSelectionFileName, elements);
    EXPECT_EQ(app.state().nodeSelectionFileName, dir.file("out.txt").string());
}

TEST_F(ListingBatch, AFailingReadStopsTheScriptAndChangesNoSelection) {
    std::ofstream(dir.file("bad.txt")) << "1\n2 x\n";
    const auto failure = run("selection read elements " + dir.file("bad.txt").string() + "\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 1);
    EXPECT_EQ(failure->message, "The selected elements file read error!\n" +
                                    dir.file("bad.txt").string() +
                                    ":2: expected a whole number, found 'x'");
    EXPECT_EQ(app.model().elementSelected, std::vector<std::uint8_t>(8, 1));
    EXPECT_FALSE(app.repaintDue());
}

TEST_F(ListingBatch, ReportsGoToTheWorkingDirectory) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto failure = run("report nodes\nreport elements\n");
    std::filesystem::current_path(previous);
    ASSERT_FALSE(failure) << failure->message;
    // 15 nodes, 8 elements: a header and two lines per corner; a block of ten lines per element.
    EXPECT_EQ(testing::readText(dir.file(std::string(nodeStressReportFileName))).size(), 121u * 65);
    EXPECT_EQ(testing::readText(dir.file(std::string(elementStressReportFileName))).size(),
              8 * (10 + 121u * 9));
}

}  // namespace
}  // namespace corvelt
