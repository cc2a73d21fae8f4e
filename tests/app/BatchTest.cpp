#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <ostream>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/BatchRunner.h"
#include "app/FrameSink.h"
#include "app/StateDump.h"

namespace corvelt {
namespace {

// --- Parsing: each command, and the lines that cannot be run.

TEST(BatchParsing, BlankAndCommentLinesAreNoCommands) {
    for (const char* line : {"", "   ", "\t", "# a comment", "   #indented", "\r"})
        EXPECT_FALSE(parseBatchLine(line).has_value()) << line;
}

TEST(BatchParsing, EachCommand) {
    EXPECT_EQ(std::get<OpenLine>(*parseBatchLine("open  my model.txt \r")).path, "my model.txt");
    EXPECT_EQ(std::get<RenderLine>(*parseBatchLine("render out/a.png")).path, "out/a.png");
    EXPECT_EQ(std::get<StateLine>(*parseBatchLine("state s.json")).path, "s.json");
    const auto size = std::get<SizeLine>(*parseBatchLine("size 400 300"));
    EXPECT_EQ(size.width, 400);
    EXPECT_EQ(size.height, 300);
    EXPECT_EQ(std::get<CommandLine>(*parseBatchLine("command 40003")).id, 40003);
    const auto view = std::get<ViewLine>(*parseBatchLine("view -90 35.26"));
    EXPECT_EQ(view.alphaDegrees, -90.0);
    EXPECT_EQ(view.betaDegrees, 35.26);
    EXPECT_EQ(std::get<KeyLine>(*parseBatchLine("key LEFT")).key, ArrowKey::left);
    EXPECT_EQ(std::get<KeyLine>(*parseBatchLine("key down")).key, ArrowKey::down);
    EXPECT_EQ(std::get<CharacterLine>(*parseBatchLine("char z")).character, U'z');
    EXPECT_EQ(std::get<CharacterLine>(*parseBatchLine("char Esc")).character, escapeCharacter);
    const auto click = std::get<ClickLine>(*parseBatchLine("click -5 +7"));
    EXPECT_EQ(click.x, -5);
    EXPECT_EQ(click.y, 7);
    const auto move = std::get<MoveLine>(*parseBatchLine("\tmove 10\t20"));
    EXPECT_EQ(move.x, 10);
    EXPECT_EQ(move.y, 20);
    const auto wheel = std::get<WheelLine>(*parseBatchLine("wheel +240 1 2"));
    EXPECT_EQ(wheel.delta, 240);
    EXPECT_EQ(wheel.y, 2);
    const auto button = std::get<ButtonLine>(*parseBatchLine("button nodes 1056"));
    EXPECT_EQ(button.dialog, DialogKind::selectNodes);
    EXPECT_EQ(button.control, 1056);
    EXPECT_EQ(std::get<ButtonLine>(*parseBatchLine("button viewkit 2")).control, 2);
    const auto text = std::get<TextLine>(*parseBatchLine("text viewkit 1010   -3.5 deg \r"));
    EXPECT_EQ(text.dialog, DialogKind::viewKit);
    EXPECT_EQ(text.control, 1010);
    EXPECT_EQ(text.text, "-3.5 deg");
    EXPECT_EQ(std::get<TextLine>(*parseBatchLine("text viewkit 1009")).text, "");
    EXPECT_EQ(std::get<FileLine>(*parseBatchLine("file my sel.txt")).path, "my sel.txt");
    EXPECT_EQ(std::get<FileLine>(*parseBatchLine("file cancel")).path, std::nullopt);
}

struct BadLine {
    std::string line;
    std::string message;  // a part of the expected message
};

void PrintTo(const BadLine& b, std::ostream* out) {
    *out << '"' << b.line << '"';
}

class BatchLineErrors : public ::testing::TestWithParam<BadLine> {};

TEST_P(BatchLineErrors, AreRefusedWithAReason) {
    try {
        parseBatchLine(GetParam().line);
        FAIL() << "accepted: " << GetParam().line;
    } catch (const BatchLineError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos)
            << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BatchLineErrors,
    ::testing::Values(
        BadLine{"frob 1", "unknown command \"frob\""}, BadLine{"Size 1 2", "unknown command"},
        BadLine{"size 400", "size takes 2 arguments"}, BadLine{"size 1 2 3", "got 3"},
        BadLine{"size 0 300", "out of range"}, BadLine{"size 400 16385", "out of range"},
        BadLine{"size 4.5 3", "not a whole number"}, BadLine{"size 400x 300", "not a whole number"},
        BadLine{"click 1,2 3", "not a whole number"}, BadLine{"click 40000 0", "out of range"},
        BadLine{"click 99999999999999999999 0", "out of range"},
        BadLine{"wheel 120 1", "wheel takes 3 arguments"},
        BadLine{"wheel +-120 1 1", "whole number"}, BadLine{"command", "command takes 1 argument"},
        BadLine{"command 40013", "no menu command"}, BadLine{"command 12", "no menu command"},
        BadLine{"command 40001", "open PATH"}, BadLine{"view 45", "view takes 2 arguments"},
        BadLine{"view 45 north", "not a number"}, BadLine{"view nan 0", "not a finite number"},
        BadLine{"view 1e999 0", "out of range"}, BadLine{"key PGUP", "unknown key"},
        BadLine{"char ab", "one printable character"}, BadLine{"open", "open needs a PATH"},
        BadLine{"render   ", "render needs a PATH"}, BadLine{"state", "state needs a PATH"},
        BadLine{"button kit 1012", "unknown dialog \"kit\""},
        BadLine{"button viewkit 1009", "\"View Kit\" has no button"},
        BadLine{"button elements 1001", "\"Select Element(s)\" has no button"},
        BadLine{"button nodes", "button takes 2 arguments"},
        BadLine{"text viewkit 1012 5", "has no edit field 1012"},
        BadLine{"text elements", "text takes a dialog"}, BadLine{"file", "file needs a PATH"},
        BadLine{"drag right 1 2 3 4", "expected left or middle"},
        BadLine{"drag left 1 2 3", "drag takes 5 arguments"}));

// The system would cut the name at the NUL and write another file.
TEST(BatchParsing, PathsWithANulByteAreRefused) {
    EXPECT_THROW(parseBatchLine(std::string("render a\0b.png", 14)), BatchLineError);
}

TEST(BatchParsing, NumbersTooSmallForADoubleAreZeroAsInResultFiles) {
    const auto view = std::get<ViewLine>(*parseBatchLine("view 1e-400 -1e-999"));
    EXPECT_EQ(view.alphaDegrees, 0.0);
    EXPECT_TRUE(std::signbit(view.betaDegrees));
}

TEST(BatchParsing, MessagesQuoteOnlyTheStartOfALongWord) {
    for (const std::string& line :
         {std::string(60000, 'x'), "size " + std::string(60000, '9') + " 1"}) {
        try {
            parseBatchLine(line);
            FAIL();
        } catch (const BatchLineError& error) {
            EXPECT_LT(std::string(error.what()).size(), 200u) << error.what();
        }
    }
}

// --- Running scripts.

class Batch : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::writeResultFile(dir.file("grid.txt"), testing::squareGrid(4, 2));
    }

    std::optional<BatchFailure> run(const std::string& script, FrameSink* frames = nullptr) {
        std::istringstream in(script);
        return runBatch(in, app, frames);
    }

    nlohmann::json readJson(const std::string& name) {
        std::ifstream in(dir.file(name));
        return nlohmann::json::parse(in);
    }

    testing::TempDir dir;
    Application app;
};

TEST_F(Batch, RunsEveryLineOnTheApplication) {
    const auto failure =
        run("# set up\nopen " + dir.file("grid.txt").string() +
            "\nsize 400 300\nview -90 90\ncommand 40020\nchar p\nclick 10 10\nmove 30 40\n"
            "key UP\nwheel 240 5 5\n");
    ASSERT_FALSE(failure) << failure->message;
    EXPECT_EQ(app.model().elementCount(), 8);
    EXPECT_EQ(app.state().clientWidth, 400);
    EXPECT_EQ(app.state().viewAlphaDegrees, -90.0);
    EXPECT_EQ(app.state().backgroundIndex, 1);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::pan);
    EXPECT_EQ(app.state().clickStage, 1);
    EXPECT_EQ(app.state().lastMouseY, 40);
    EXPECT_FALSE(app.repaintDue());
}

TEST_F(Batch, StopsAtTheFirstBadLineAndNamesIt) {
    const auto failure = run("size 400 300\n\n# fine so far\nsize 400\nsize 500 500\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 4);
    EXPECT_EQ(app.state().clientWidth, 400);  // line 5 never ran
}

TEST_F(Batch, LoadErrorsCarryTheReadersMessage) {
    const auto failure = run("size 400 300\nopen " + dir.file("missing.txt").string() + "\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 2);
    EXPECT_NE(failure->message.find("missing.txt"), std::string::npos) << failure->message;
}

TEST_F(Batch, RenderNeedsAFrameSink) {
    const auto failure = run("render a.png\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 1);
}

TEST_F(Batch, RenderHandsTheApplicationToTheSink) {
    struct CountingSink : FrameSink {
        void writePng(Application& app, const std::filesystem::path& path) override {
            sizes.emplace_back(app.state().clientWidth, app.state().clientHeight);
            paths.push_back(path.string());
        }
        std::vector<std::pair<int, int>> sizes;
        std::vector<std::string> paths;
    } sink;
    ASSERT_FALSE(run("size 320 200\nrender first.png\nsize 64 48\nrender second.png\n", &sink));
    EXPECT_EQ(sink.sizes, (std::vector<std::pair<int, int>>{{320, 200}, {64, 48}}));
    EXPECT_EQ(sink.paths, (std::vector<std::string>{"first.png", "second.png"}));
}

TEST_F(Batch, ScriptRunnerReportsFileAndLine) {
    std::istringstream script("size 400 300\nbogus\n");
    std::ostringstream errors;
    EXPECT_EQ(runBatchScript(script, "demo.batch", nullptr, errors), 1);
    EXPECT_EQ(errors.str(), "demo.batch:2: unknown command \"bogus\"\n");
    std::istringstream good("size 400 300\n");
    EXPECT_EQ(runBatchScript(good, "good.batch", nullptr, errors), 0);
}

// A file that opens with a doubt about it warns on the line and lets the script go on.
TEST_F(Batch, ScriptRunnerReportsAWarningOfTheReaderAndGoesOn) {
    std::string text = testing::readText(CORVELT_SOURCE_DIR "/tests/data/frd/plate.frd");
    // Element 2's faces swapped: its first stress lines lie against the normal.
    const std::string nodes =
        "24        27        42        39        26        29        44        41";
    const std::string swapped =
        "26        29        44        41        24        27        42        39";
    text.replace(text.find(nodes), nodes.size(), swapped);
    const testing::TempDir dir;
    std::ofstream(dir.file("flipped.frd")) << text;
    std::istringstream script("open " + dir.file("flipped.frd").string() + "\nsize 400 300\n");
    std::ostringstream errors;
    EXPECT_EQ(runBatchScript(script, "s.batch", nullptr, errors), 0);
    EXPECT_TRUE(errors.str().starts_with("s.batch:1: warning: " + dir.file("flipped.frd").string() +
                                         ": on 1 of 12 elements"))
        << errors.str();
}

TEST_F(Batch, ALineTooLongIsRefusedWithoutReadingItToItsEnd) {
    const std::string longest = "#" + std::string(maxBatchLineBytes - 1, ' ');
    const auto failure = run("size 400 300\n" + longest + "\n" + longest + "x\nsize 500 500\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 3);
    EXPECT_EQ(failure->message, "line too long");
    EXPECT_EQ(app.state().clientWidth, 400);
}

// A stream of zero bytes without end, as /dev/zero gives.
class EndlessZeros : public std::streambuf {
  public:
    EndlessZeros() { setg(zeros_.data(), zeros_.data(), zeros_.data() + zeros_.size()); }

  protected:
    int_type underflow() override {
        bytesRead_ += zeros_.size();
        // Far more than one line may hold: reading on would mean memory without bound.
        if (bytesRead_ > 64 * maxBatchLineBytes) return traits_type::eof();
        setg(zeros_.data(), zeros_.data(), zeros_.data() + zeros_.size());
        return 0;
    }

  private:
    std::array<char, 4096> zeros_{};
    std::size_t bytesRead_ = 0;
};

TEST_F(Batch, AStreamWithoutLineEndsStopsAtTheFirstLine) {
    EndlessZeros zeros;
    std::istream script(&zeros);
    const auto failure = runBatch(script, app, nullptr);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 1);
    EXPECT_EQ(failure->message, "line too long");
}

TEST_F(Batch, UnwritableStateFileFails) {
    const auto failure = run("state " + dir.file("no/such/dir/s.json").string() + "\n");
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->message.find("s.json"), std::string::npos);
}

// --- The dialogs.

TEST_F(Batch, DialogLinesDriveTheNewestDialog) {
    const auto failure = run("open " + dir.file("grid.txt").string() +
                             "\ncommand 40002\ncommand 40002\ntext viewkit 1009 12abc\n"
                             "text viewkit 1010\nbutton viewkit 1012\nbutton viewkit 1041\n"
                             "command 40011\nbutton nodes 1001\nfile cancel\nbutton nodes 1083\n"
                             "state " +
                             dir.file("s.json").string() + "\n");
    ASSERT_FALSE(failure) << failure->line << ": " << failure->message;
    EXPECT_EQ(app.state().viewAlphaDegrees, 12.0);
    EXPECT_EQ(app.state().viewBetaDegrees, 0.0);
    EXPECT_EQ(app.state().rectanglePick, 0);

    const nlohmann::json state = readJson("s.json");
    EXPECT_EQ(state["appState"]["viewKitDialogOpen"], true);
    const nlohmann::json& d = state["dialogs"];
    EXPECT_EQ(d["viewKit"], (nlohmann::json{{"count", 2}, {"alpha", "12abc"}, {"beta", ""}}));
    EXPECT_EQ(d["selectElements"], nullptr);
    EXPECT_EQ(d["selectNodes"], (nlohmann::json{{"count", 1}, {"checked", {1001, 1050, 1071}}}));
}

TEST_F(Batch, DialogLinesFailWhenTheDialogIsClosed) {
    const auto failure = run("command 40010\nbutton elements 2\nbutton elements 1057\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 3);
    EXPECT_EQ(failure->message, "no \"Select Element(s)\" dialog is open");
    EXPECT_TRUE(run("text viewkit 1009 5\n"));
}

// A button that opens a file dialog takes the oldest answer given before it.
TEST_F(Batch, FileDialogsNeedAnAnswerWaiting) {
    auto failure = run("command 40010\nbutton elements 1082\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 2);
    EXPECT_NE(failure->message.find("file PATH or file cancel"), std::string::npos);
    EXPECT_FALSE(app.newestDialog(DialogKind::selectElements)->fileRequest);

    // A refused file stops the script with the message and changes no selection.
    const std::string missing = dir.file("missing.txt").string();
    failure = run("open " + dir.file("grid.txt").string() + "\nfile " + missing +
                  "\nbutton elements 1081\nbutton elements 1021\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 3);
    EXPECT_FALSE(failure->message.empty());
    EXPECT_EQ(app.model().elementSelected, std::vector<std::uint8_t>(8, 1));
}

// The file buttons and List Stresses end to end: elements 0 and 1 picked in a
// rectangle (the grid seen from +z) and applied, saved, everything selected, read
// back; both listings written into the working directory.
TEST_F(Batch, FileButtonsSaveReadAndList) {
    const testing::InDirectory here(dir.path());
    const std::string saved = dir.file("saved.txt").string();
    const auto failure =
        run("open grid.txt\nsize 400 300\nview -90 90\ncommand 40010\nclick -9 264\nclick 219 131\n"
            "button elements 1057\nfile " +
            saved +
            "\nbutton elements 1082\nbutton elements 1020\n"
            "file " +
            saved +
            "\nbutton elements 1081\nbutton elements 1077\ncommand 40011\n"
            "button nodes 1007\n");
    ASSERT_FALSE(failure) << failure->line << ": " << failure->message;
    EXPECT_EQ(testing::readText(saved), "0\n1\n");
    EXPECT_EQ(app.model().elementSelected, (std::vector<std::uint8_t>{1, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(app.state().elementSelectionFileName, saved);
    EXPECT_FALSE(testing::readText(dir.file("SelectedElemStress.txt")).empty());
    EXPECT_FALSE(testing::readText(dir.file("SelectedNodeStress.txt")).empty());
}

// --- The state dump, read back.

TEST_F(Batch, StateDumpReadsBackExactly) {
    const auto failure = run("open " + dir.file("grid.txt").string() +
                             "\nsize 400 300\nkey LEFT\ncommand 40003\ncommand 40010\n"
                             "click -100 -100\nclick 500 400\ncommand 40011\nclick 0 0\nmove 7 8\n"
                             "state " +
                             dir.file("s.json").string() + "\n");
    ASSERT_FALSE(failure) << failure->message;
    const nlohmann::json state = readJson("s.json");

    EXPECT_EQ(state["formatVersion"], 1);
    const nlohmann::json& s = state["appState"];
    EXPECT_EQ(s["componentIndex"], 0);
    EXPECT_EQ(s["checkedComponentItem"], 40003);
    EXPECT_EQ(s["contourOn"], true);
    EXPECT_EQ(s["interactionMode"], 4);
    EXPECT_EQ(s["clickStage"], 1);
    EXPECT_EQ(s["dragAnchorX"], 0);
    EXPECT_EQ(s["dragCurrentX"], 7);
    EXPECT_EQ(s["lastMouseY"], 8);
    EXPECT_EQ(s["viewAlphaDegrees"], 45.0);
    EXPECT_EQ(s["viewBetaDegrees"].get<double>(), 35.26);
    EXPECT_EQ(s["rotationStep"].get<double>(), app.state().rotationStep);
    EXPECT_EQ(s["backgroundColors"], nlohmann::json::array({"#000000", "#FFFFFF"}));
    EXPECT_EQ(s["modelLoaded"], true);
    EXPECT_EQ(s["resultFileName"], dir.file("grid.txt").string());

    // The selection dialogs plot all outlines and all node markers when they open.
    EXPECT_EQ(state["checkedMenuItems"],
              nlohmann::json::array({40003, 40012, 40014, 40019, 40021, 40026, 40029, 40032}));
    EXPECT_EQ(s["selectElementsDialogOpen"], true);
    EXPECT_EQ(s["selectNodesDialogOpen"], true);
    EXPECT_EQ(s["viewKitDialogOpen"], false);
    const nlohmann::json& d = state["dialogs"];
    EXPECT_EQ(d["viewKit"], nullptr);
    EXPECT_EQ(d["selectElements"]["count"], 1);
    EXPECT_EQ(d["selectElements"]["checked"], nlohmann::json::array({1016, 1017, 1055, 1060}));
    EXPECT_EQ(d["selectNodes"]["checked"], nlohmann::json::array({1002, 1050, 1071}));

    const nlohmann::json& c = state["camera"];
    const ViewCamera& camera = app.camera();
    ASSERT_EQ(c["viewMatrix"].size(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(c["viewMatrix"][i].get<double>(), camera.viewMatrix[i]) << i;
    EXPECT_EQ(c["scale"].get<double>(), camera.scale);
    EXPECT_EQ(c["centerX"].get<double>(), camera.centerX);
    EXPECT_EQ(c["originX"], camera.originX);
    EXPECT_EQ(c["screenWidth"], 400);
    EXPECT_EQ(c["worldMaxX"].get<double>(), 4.0);
    EXPECT_EQ(c["alpha"].get<double>(), camera.alpha);

    const nlohmann::json& m = state["model"];
    EXPECT_EQ(m["nodeCount"], 15);
    EXPECT_EQ(m["elementCount"], 8);
    EXPECT_EQ(m["contourComponent"], 0);
    EXPECT_EQ(m["pickedElements"], nlohmann::json::array({0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(m["pickedNodes"], nlohmann::json::array());
    EXPECT_EQ(m["selectedElements"].size(), 8u);
    EXPECT_EQ(m["selectedNodes"].size(), 15u);
}

TEST(StateDump, FreshApplicationHasNoModel) {
    const Application app;
    std::ostringstream out;
    writeStateJson(out, app);
    const nlohmann::json state = nlohmann::json::parse(out.str());
    EXPECT_EQ(state["appState"]["modelLoaded"], false);
    EXPECT_EQ(state["model"]["nodeCount"], 0);
    EXPECT_EQ(state["model"]["selectedNodes"], nlohmann::json::array());
    EXPECT_EQ(state["camera"]["screenHeight"], 600);
}

}  // namespace
}  // namespace corvelt
