#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/Application.h"
#include "app/BatchRunner.h"
#include "app/TestMeshes.h"
#include "formats/FrdReader.h"
#include "render/RecordingCanvas.h"
#include "samples/ResultFileWriter.h"

namespace corvelt {
namespace {

// Every call of a frame, so that two frames compare as a whole.
bool sameFrame(const RecordingCanvas& a, const RecordingCanvas& b) {
    if (a.calls().size() != b.calls().size()) return false;
    for (std::size_t k = 0; k < a.calls().size(); ++k) {
        const CanvasCall& x = a.calls()[k];
        const CanvasCall& y = b.calls()[k];
        if (x.kind != y.kind || x.points != y.points || !(x.colour == y.colour) ||
            x.text != y.text || x.radius != y.radius)
            return false;
    }
    return true;
}

// A .frd shows as the same model written in our own format shows: the same state
// (but for the file's name) and the same frames, from the start and after a few
// steps of the batch mode.
class ConvertedEquivalent : public ::testing::TestWithParam<const char*> {};

TEST_P(ConvertedEquivalent, ShowsAsTheSameModelInOurOwnFormat) {
    testing::TempDir dir;
    const std::filesystem::path frd =
        std::filesystem::path(CORVELT_SOURCE_DIR "/tests/data/frd") / GetParam();
    samples::writeResultFile(dir.file("converted.txt"), readFrdFile(frd).data, {0});

    const auto show = [&](const std::filesystem::path& file, const std::string& state,
                          RecordingCanvas& first, RecordingCanvas& last) {
        Application app;
        std::istringstream opening("size 400 300\nopen " + file.string() + "\n");
        ASSERT_FALSE(runBatch(opening, app, nullptr));
        app.paint(first);
        std::istringstream steps(
            "command 40003\nkey LEFT\nkey UP\ncommand 40010\nclick 200 150\n"
            "state " +
            dir.file(state).string() + "\n");
        ASSERT_FALSE(runBatch(steps, app, nullptr));
        app.paint(last);
    };
    RecordingCanvas frdFirst(400, 300), frdLast(400, 300), ownFirst(400, 300), ownLast(400, 300);
    show(frd, "frd.json", frdFirst, frdLast);
    show(dir.file("converted.txt"), "own.json", ownFirst, ownLast);
    EXPECT_TRUE(sameFrame(frdFirst, ownFirst));
    EXPECT_TRUE(sameFrame(frdLast, ownLast));
    EXPECT_GT(frdFirst.callsOf(CanvasCall::Kind::fillPolygon).size(), 10u);

    nlohmann::json frdState = nlohmann::json::parse(std::ifstream(dir.file("frd.json")));
    nlohmann::json ownState = nlohmann::json::parse(std::ifstream(dir.file("own.json")));
    EXPECT_EQ(frdState["appState"]["resultFileName"], frd.string());
    frdState["appState"].erase("resultFileName");
    ownState["appState"].erase("resultFileName");
    EXPECT_EQ(frdState, ownState);
}

INSTANTIATE_TEST_SUITE_P(Frd, ConvertedEquivalent,
                         ::testing::Values("plate.frd", "cylinder.frd", "fold.frd"),
                         [](const auto& info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace corvelt
