// The export lines of batch scripts.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/BatchRunner.h"
#include "formats/CsvWriter.h"

namespace corvelt {
namespace {

TEST(ExportBatchParsing, BadLinesAreRefusedWithAReason) {
    const std::pair<std::string, std::string> cases[] = {
        {"export", "export takes vtu|csv and a PATH"},
        {"export vtu", "export takes vtu|csv and a PATH"},
        {"export VTU a.vtu", "expected vtu or csv, not \"VTU\""},
        {"export png a.png", "expected vtu or csv, not \"png\""},
        {std::string("export csv a\0b.csv", 18), "export: a PATH cannot contain a NUL byte"},
    };
    for (const auto& [text, reason] : cases) {
        try {
            parseBatchLine(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const BatchLineError& error) {
            EXPECT_EQ(std::string(error.what()), reason);
        }
    }
    const auto line = parseBatchLine("  export csv  my table.csv  ");
    ASSERT_TRUE(line && std::holds_alternative<ExportLine>(*line));
    EXPECT_EQ(std::get<ExportLine>(*line).format, ExportFormat::csv);
    EXPECT_EQ(std::get<ExportLine>(*line).path, "my table.csv");
}

// The selection of the script is what is written; a failure stops the script with
// the message the window shows.
TEST(ExportBatch, WritesTheSelectionAndStopsOnAFailure) {
    const testing::TempDir dir;
    testing::writeResultFile(dir.file("grid.txt"), testing::squareGrid(4, 2));
    std::ofstream(dir.file("selection.txt")) << "1 6\n";
    Application app;
    std::istringstream script("open " + dir.file("grid.txt").string() +
                              "\nselection read elements " + dir.file("selection.txt").string() +
                              "\nexport csv " + dir.file("grid.csv").string() + "\nexport vtu " +
                              dir.file("grid.vtu").string() + "\nexport vtu " +
                              dir.file("missing/grid.vtu").string() + "\n");
    const auto failure = runBatch(script, app, nullptr);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 5);
    EXPECT_EQ(failure->message, "The VTK file could not be written.\n" +
                                    dir.file("missing/grid.vtu").string() +
                                    ": No such file or directory");

    const std::string csv = testing::readText(dir.file("grid.csv"));
    EXPECT_EQ(csv.substr(csvHeader.size(), 16), "1,0,1,1,0,0,1,1,");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 2 * 8);
    app.exportSelection(ExportFormat::vtu, dir.file("direct.vtu"));
    EXPECT_EQ(testing::readText(dir.file("grid.vtu")), testing::readText(dir.file("direct.vtu")));
}

}  // namespace
}  // namespace corvelt
