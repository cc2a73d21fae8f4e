// listing_bench: the selection list files and the node stress listing of a
// generated model with everything selected, each against a plain writer of the same
// bytes timed in the same run (fprintf / fscanf for the selection file, an
// iostream with setw for the listing), best of a few runs each. Ours replace
// their files atomically, the selection file flushed to the disk first (fsync)
// as the program does it; the baselines only write. The bytes of each are
// compared with the baseline's.
//
//   listing_bench [--elements N] [--runs K] [--baseline-runs K] [--dir PATH]
//
// Files go to PATH (default: the build directory of the benchmarks) and are
// removed at the end.
#include <time.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "BenchTiming.h"
#include "model/ShellModel.h"
#include "base/TaskPool.h"
#include "samples/PressurizedCylinder.h"
#include "select/SelectionFile.h"
#include "select/StressReport.h"

namespace {

using corvelt::bench::readOptionPairs;
using corvelt::bench::takeRunCount;

using corvelt::ItemKind;
using corvelt::ShellModel;
namespace fs = std::filesystem;

struct Options : corvelt::bench::RunCounts {
    fs::path dir = CORVELT_BENCH_DIR;
};

using corvelt::bench::Timing;
using corvelt::bench::reportRatio;
using corvelt::bench::reportTiming;
using corvelt::bench::bestTime;

// ---- Baselines --------------------------------------------------------------

void writeSelectionWithFprintf(const std::vector<std::uint8_t>& flags, const fs::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) throw std::runtime_error("cannot create " + path.string());
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i] != 0) std::fprintf(file, "%d\n", static_cast<int>(i));
    std::fclose(file);
}

std::vector<std::uint8_t> readSelectionWithFscanf(std::size_t count, const fs::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) throw std::runtime_error("cannot open " + path.string());
    std::vector<std::uint8_t> flags(count, 0);
    for (int value = 0; std::fscanf(file, "%d", &value) == 1;)
        if (value >= 0 && static_cast<std::size_t>(value) < count) flags[value] = 1;
    std::fclose(file);
    return flags;
}

// The corners of every node in node, element, corner order; found outside the
// timed part, so that the baseline is timed for its writing alone.
std::vector<std::size_t> cornersByNode(const ShellModel& model) {
    std::vector<std::size_t> order(model.connectivity.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return model.connectivity[a] < model.connectivity[b];
    });
    return order;
}

// The node listing (every node selected) as a plain C++ program writes it.
void writeNodeListingWithIostream(const ShellModel& model, const std::vector<std::size_t>& order,
                                  const fs::path& path) {
    std::ofstream out(path);
    if (!out) throw std::runtime_error("cannot create " + path.string());
    for (const char* label : {"Node", "SX", "SY", "SZ", "TXY", "TXZ", "TYZ", "SE"})
        out << std::setw(15) << label;
    out << '\n';
    for (const std::size_t corner : order) {
        const corvelt::ElementStressBlock& block = model.elementStresses[corner / 4];
        for (const auto& surface : block.surfaces) {
            out << std::setw(14) << model.connectivity[corner] << ':';
            for (const double value : surface[corner % 4])
                out << std::setw(15) << value;
            out << '\n';
        }
    }
}

bool sameBytes(const fs::path& a, const fs::path& b) {
    std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
    std::vector<char> x(1 << 20), y(1 << 20);
    while (first && second) {
        first.read(x.data(), static_cast<std::streamsize>(x.size()));
        second.read(y.data(), static_cast<std::streamsize>(y.size()));
        if (first.gcount() != second.gcount() ||
            !std::equal(x.begin(), x.begin() + first.gcount(), y.begin()))
            return false;
    }
    return first.eof() && second.eof();
}

// ---- Main -------------------------------------------------------------------

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    const auto take = [&](std::string_view option, std::string_view value) {
        if (takeRunCount(option, value, options)) return true;
        if (option != "--dir") return false;
        options.dir = value;
        return true;
    };
    if (!readOptionPairs(argc, argv, take)) return std::nullopt;
    return options;
}

void benchSelectionFiles(ShellModel& model, const Options& options) {
    const fs::path ours = options.dir / "listing_bench_selection.txt";
    const fs::path baseline = options.dir / "listing_bench_selection_baseline.txt";
    const std::vector<std::uint8_t> all = model.elementSelected;
    const Timing writeBaseline =
        bestTime(options.runs, [&] { writeSelectionWithFprintf(all, baseline); });
    const Timing write =
        bestTime(options.runs, [&] { corvelt::writeSelection(model, ItemKind::elements, ours); });
    const Timing readBaseline =
        bestTime(options.runs, [&] { readSelectionWithFscanf(all.size(), baseline); });
    const Timing read =
        bestTime(options.runs, [&] { corvelt::readSelection(model, ItemKind::elements, ours); });
    if (model.elementSelected != all || !sameBytes(ours, baseline))
        throw std::runtime_error("the selection files differ");
    const double megabytes = static_cast<double>(fs::file_size(ours)) / 1e6;
    std::cout << "\nselection file of " << all.size() << " elements, " << std::setprecision(1)
              << megabytes << " MB (best of " << options.runs << ")\n";
    reportTiming("  fprintf write (baseline):     ", writeBaseline, megabytes);
    reportTiming("  corvelt write (atomic, fsync): ", write, megabytes);
    std::cout << "  ";
    reportRatio(writeBaseline, write);
    reportTiming("  fscanf read (baseline):      ", readBaseline, megabytes);
    reportTiming("  corvelt read:                ", read, megabytes);
    std::cout << "  ";
    reportRatio(readBaseline, read);
    fs::remove(ours);
    fs::remove(baseline);
}

void benchListings(const ShellModel& model, const Options& options) {
    const fs::path baseline = options.dir / "listing_bench_baseline.txt";
    const fs::path ours = options.dir / corvelt::nodeStressReportFileName;
    const std::vector<std::size_t> order = cornersByNode(model);
    const Timing baselineTime = bestTime(
        options.baselineRuns, [&] { writeNodeListingWithIostream(model, order, baseline); });
    const Timing ourTime = bestTime(
        options.runs, [&] { corvelt::writeStressReport(model, ItemKind::nodes, options.dir); });
    if (!sameBytes(ours, baseline)) throw std::runtime_error("the node listings differ");
    const double megabytes = static_cast<double>(fs::file_size(ours)) / 1e6;
    std::cout << "\nnode stress listing, every node selected: " << 2 * order.size()
              << " stress lines, " << std::setprecision(1) << megabytes << " MB\n";
    const std::string baselineRuns = std::to_string(options.baselineRuns);
    reportTiming("  iostream writer (baseline, best of " + baselineRuns + "): ", baselineTime,
                 megabytes);
    reportTiming("  corvelt listing (best of " + std::to_string(options.runs) + "):           ",
                 ourTime, megabytes);
    std::cout << "  ";
    reportRatio(baselineTime, ourTime);
    fs::remove(baseline);

    const fs::path elements = options.dir / corvelt::elementStressReportFileName;
    const Timing elementTime = bestTime(
        options.runs, [&] { corvelt::writeStressReport(model, ItemKind::elements, options.dir); });
    reportTiming("\nelement stress listing, every element selected: ", elementTime,
                 static_cast<double>(fs::file_size(elements)) / 1e6);
    fs::remove(ours);
    fs::remove(elements);
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: listing_bench [--elements N] [--runs K] [--baseline-runs K] "
                     "[--dir PATH]\n";
        return 2;
    }
    try {
        std::cout << std::fixed;
        ShellModel model;
        model.adoptResult(corvelt::samples::generateCylinderResult(
            corvelt::samples::cylinderWithElementCount(options->elements)));
        std::cout << "model: " << model.elementCount() << " elements, " << model.nodeCount()
                  << " nodes, everything selected; " << corvelt::defaultWorkerCount()
                  << " threads\n";
        benchSelectionFiles(model, *options);
        benchListings(model, *options);
    } catch (const std::exception& error) {
        std::cerr << "listing_bench: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
