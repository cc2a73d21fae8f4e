// The batch language on an application that paints a frame after every line. The
// input is a script, optionally after a result file and a line "%%" (without one,
// the script runs on a small built-in grid). What a file the reader accepts and any
// sequence of input events must never do: leave a camera value, a projected node or
// the mean edge length non-finite, write a state with a null, or cause an internal
// fault of the contour (besides what the sanitizers catch).
//
// For the fuzzer only, a line "N*A|B|..." runs the lines A, B, ... in turn, N times
// over, before the frame is painted, so that inputs of a few bytes reach thousands
// of wheel notches or pan clicks. Nothing touches files: open adopts the input's
// model again, render only paints, state writes into memory, the lines that name
// files (selection, file) and those that write listings (report, List Stresses) are
// left out, and every file dialog a button opens is cancelled.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/Application.h"
#include "app/BatchCommand.h"
#include "app/BatchRunner.h"
#include "app/CommandId.h"
#include "app/DialogControlId.h"
#include "app/StateDump.h"
#include "base/NumberScan.h"
#include "model/ResultFileError.h"
#include "model/ResultTextParser.h"
#include "render/Canvas.h"
#include "render/SpanFiller.h"

namespace {

using namespace corvelt;

constexpr std::int32_t maxRepeat = 40000;
constexpr std::int64_t maxRunsPerInput = 100000;

// What a line costs of an input's budget: adopting the model again and writing the
// state take some hundred times a key or a click, and every open dialog adds to
// each later line's work (a hundred dialogs at most per input is plenty). An input
// of a few bytes must stay well inside the smoke run's timeout on a slow, shared
// machine.
std::int64_t runCost(const BatchCommand& command) {
    if (const auto* menu = std::get_if<CommandLine>(&command)) {
        const bool opensDialog = menu->id == viewKitCommand ||
                                 menu->id == selectElementsCommand ||
                                 menu->id == selectNodesCommand;
        return opensDialog ? maxRunsPerInput / 100 : 1;
    }
    if (std::holds_alternative<StateLine>(command)) return 200;
    if (std::holds_alternative<OpenLine>(command)) return 20;
    return 1;
}

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_batch: %s\n", what);
    std::abort();
}

// Reports the client size; fills polygons and boxes into a small buffer (clipped
// there, so that any pixel coordinate reaches the filler's arithmetic) and ignores
// lines, circles and text.
class FillingCanvas : public Canvas {
  public:
    FillingCanvas(int width, int height)
        : width_(width), height_(height), filler_(PixelBuffer{pixels_.data(), side, side, side}) {}

    int width() const override { return width_; }
    int height() const override { return height_; }
    void clear(Rgb colour) override { filler_.clear(packPixel(colour)); }
    void fillPolygon(std::span<const Pixel> corners, Rgb colour) override {
        filler_.fillPolygon(corners, packPixel(colour));
    }
    void drawPath(std::span<const Pixel>, bool, const Pen&) override {}
    void drawCircle(Pixel, int, const Pen&) override {}
    void drawBox(int left, int top, int right, int bottom, Rgb fill, const Pen&) override {
        filler_.fillRectangle(left, top, right, bottom, packPixel(fill));
    }
    void drawText(Pixel, std::string_view, const Font&, Rgb) override {}

  private:
    static constexpr int side = 64;
    int width_;
    int height_;
    std::array<std::uint32_t, side * side> pixels_{};
    SpanFiller filler_;
};

// A 3 x 2 grid of unit squares with stresses that differ by element, corner and
// surface.
ResultData builtInGrid() {
    ResultData data;
    for (int j = 0; j <= 2; ++j)
        for (int i = 0; i <= 3; ++i)
            data.nodes.push_back({static_cast<double>(i), static_cast<double>(j), 0.0});
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i) {
            const std::int32_t first = j * 4 + i;
            for (const std::int32_t node : {first, first + 1, first + 5, first + 4})
                data.connectivity.push_back(node);
            ElementStressBlock block;
            for (int surface = 0; surface < 2; ++surface)
                for (int corner = 0; corner < 4; ++corner)
                    for (int c = 0; c < stressComponentCount; ++c)
                        block.surfaces[surface][corner][c] =
                            (i + 2 * j) * 10 + corner - surface + c;
            data.elementStresses.push_back(block);
        }
    return data;
}

void checkFinite(const Application& app) {
    const ViewCamera& c = app.camera();
    for (const double v :
         {c.viewMinX, c.viewMaxX, c.viewMinY, c.viewMaxY, c.worldMinX, c.worldMaxX, c.worldMinY,
          c.worldMaxY, c.worldMinZ, c.worldMaxZ, c.centerX, c.centerY, c.scale, c.alpha, c.beta})
        require(std::isfinite(v), "a camera value is not finite");
    for (const double v : c.viewMatrix)
        require(std::isfinite(v), "the view matrix is not finite");
    require(std::isfinite(app.model().meanEdgeLength), "the mean edge length is not finite");
    for (const Point2D& p : app.model().projectedNodes)
        require(std::isfinite(p.x) && std::isfinite(p.y), "a projected node is not finite");
}

void paintFrame(Application& app) {
    FillingCanvas canvas(app.state().clientWidth, app.state().clientHeight);
    app.paint(canvas);
    require(app.internalErrorCount() == 0, "the contour reports an internal fault");
}

struct Repetition {
    std::int32_t count = 1;
    std::vector<BatchCommand> commands;
};

// One script line, or the lines of "N*A|B|...". Lines that do not parse are left out.
Repetition repetition(std::string_view line) {
    Repetition r;
    const std::size_t star = line.find('*');
    if (star != std::string_view::npos && star > 0 && star <= 5) {
        const ScanResult<std::int32_t> count = scanInt32(line.data(), line.data() + star);
        if (count.status == ScanStatus::ok && count.end == line.data() + star && count.value >= 1) {
            r.count = std::min(count.value, maxRepeat);
            line.remove_prefix(star + 1);
        }
    }
    for (;;) {
        const std::size_t bar = r.count > 1 ? line.find('|') : std::string_view::npos;
        try {
            if (auto command = parseBatchLine(line.substr(0, bar)))
                r.commands.push_back(std::move(*command));
        } catch (const BatchLineError&) {
        }
        if (bar == std::string_view::npos) break;
        line.remove_prefix(bar + 1);
    }
    return r;
}

bool touchesFiles(const BatchCommand& command) {
    if (const auto* button = std::get_if<ButtonLine>(&command))
        return button->control == SelectElementsControl::listStresses ||
               button->control == SelectNodesControl::listStresses;
    return std::holds_alternative<RenderLine>(command) ||
           std::holds_alternative<SelectionFileLine>(command) ||
           std::holds_alternative<ReportLine>(command) ||
           std::holds_alternative<FileLine>(command) || std::holds_alternative<ExportLine>(command);
}

// Runs one parsed line without touching a file.
void runLine(const BatchCommand& command, Application& app, const ResultData& model) {
    if (touchesFiles(command)) return;
    if (std::holds_alternative<OpenLine>(command)) {
        ResultData copy = model;
        app.adoptFile(std::move(copy), "fuzz.txt");
    } else if (std::holds_alternative<StateLine>(command)) {
        std::ostringstream text;
        writeStateJson(text, app);
        nlohmann::json state = nlohmann::json::parse(text.str());
        // Nulls that stand for something absent, not for a number out of range: no
        // dialog of a kind open, no step to undo or redo, no bounds of an automatic
        // legend range.
        state.erase("dialogs");
        state.erase("history");
        if (state["legend"]["rangeMode"] == "auto") {
            state["legend"].erase("fixedMin");
            state["legend"].erase("fixedMax");
        }
        require(state.dump().find("null") == std::string::npos, "the state holds a null");
    } else {
        // A line the batch mode would refuse here (a button of a dialog that is not
        // open, a file dialog without an answer) changes nothing; the script goes on.
        BatchSession noAnswers;
        try {
            runBatchCommand(command, app, nullptr, noAnswers);
        } catch (const BatchLineError&) {
        }
    }
    app.takeRepaintDue();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(bytes), size);
    ResultData model;
    const std::size_t separator = input.find("\n%%\n");
    if (separator == std::string_view::npos) {
        model = builtInGrid();
    } else {
        try {
            model = parseResultText(input.substr(0, separator + 1), "fuzz.txt");
        } catch (const ResultFileError&) {
            return 0;
        }
        input.remove_prefix(separator + 4);
    }

    Application app;
    try {
        ResultData copy = model;
        app.adoptFile(std::move(copy), "fuzz.txt");
    } catch (const std::invalid_argument&) {
        return 0;  // no nodes: the reader's fuzzer looks into such acceptance
    }
    checkFinite(app);
    paintFrame(app);

    std::int64_t runs = 0;
    while (!input.empty() && runs < maxRunsPerInput) {
        const std::size_t end = input.find('\n');
        const std::string_view text = input.substr(0, std::min(end, maxBatchLineBytes));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        const Repetition r = repetition(text);
        if (r.commands.empty()) continue;
        for (std::int32_t i = 0; i < r.count && runs < maxRunsPerInput; ++i)
            for (const BatchCommand& command : r.commands) {
                runLine(command, app, model);
                runs += runCost(command);
            }
        checkFinite(app);
        paintFrame(app);
    }
    return 0;
}
