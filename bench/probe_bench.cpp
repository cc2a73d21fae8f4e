// probe_bench: the probe at the cursor on a generated model (a closed tube, so that
// most pixels have two elements behind them), in a 1600 x 900 client after one
// arrow-key turn: building the element grid once per view, then one probe per
// mouse move at pixels spread over the client area, against a point pick's scan of
// every element (the baseline, timed in the same run). The probe's elements are
// checked against the pick's.
//
//   probe_bench [--elements N] [--moves K]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/Application.h"
#include "samples/PressurizedCylinder.h"
#include "select/Picking.h"

namespace {

using corvelt::Application;
using corvelt::Pixel;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    long long elements = 1'000'000;
    int moves = 2000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        if (option == "--elements")
            elements = std::atoll(argv[i + 1]);
        else if (option == "--moves")
            moves = std::atoi(argv[i + 1]);
        else {
            std::cerr << "usage: probe_bench [--elements N] [--moves K]\n";
            return 2;
        }
    }

    corvelt::samples::CylinderSample sample = corvelt::samples::cylinderWithElementCount(elements);
    sample.sweepDegrees = 360.0;
    Application app;
    app.adoptFile(corvelt::samples::generateCylinderResult(sample), "tube.txt");
    app.resize(1600, 900);
    app.keyDown(corvelt::ArrowKey::right);
    std::printf("model: %d elements, %d nodes; client 1600 x 900\n", app.model().elementCount(),
                app.model().nodeCount());

    std::mt19937 random(1);
    std::uniform_int_distribution<int> column(0, 1599), row(0, 899);
    std::vector<Pixel> pixels(static_cast<std::size_t>(moves));
    for (Pixel& p : pixels)
        p = {column(random), row(random)};

    auto start = Clock::now();
    app.prepareProbe();
    const double firstBuild = secondsSince(start);
    // Every later view reuses the grid's memory.
    app.keyDown(corvelt::ArrowKey::left);
    start = Clock::now();
    app.prepareProbe();
    const double build = secondsSince(start);

    start = Clock::now();
    std::vector<std::optional<std::int32_t>> found;
    found.reserve(pixels.size());
    for (const Pixel& p : pixels) {
        const auto reading = app.probe(p.x, p.y);
        found.push_back(reading ? std::optional(reading->element) : std::nullopt);
    }
    const double perProbe = secondsSince(start) / static_cast<double>(pixels.size());

    // The baseline scans every element per pick; a few picks are enough to time it.
    corvelt::ShellModel copy = app.model();
    const std::size_t picks = std::min<std::size_t>(pixels.size(), 20);
    start = Clock::now();
    int mismatches = 0;
    for (std::size_t i = 0; i < picks; ++i) {
        const auto picked =
            corvelt::pickElementAtPoint(copy, app.camera(), pixels[i], 1, corvelt::PickScope{});
        if (picked != found[i]) ++mismatches;
    }
    const double perPick = secondsSince(start) / static_cast<double>(picks);

    std::printf("element grid, first view:        %8.2f ms\n", firstBuild * 1e3);
    std::printf("element grid, once per view:     %8.2f ms\n", build * 1e3);
    std::printf("probe per mouse move (%d moves): %8.4f ms\n", moves, perProbe * 1e3);
    std::printf("baseline: point pick's scan:      %8.2f ms  (%.0fx the probe)\n", perPick * 1e3,
                perPick / perProbe);
    std::printf("probe and pick disagree at %d of %zu pixels\n", mismatches, picks);
    return mismatches == 0 ? 0 : 1;
}
