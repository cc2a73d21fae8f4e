// export_bench: the two exports of a generated model with everything selected, each
// against a plain single-threaded iostream writer of the same bytes timed in the
// same run, best of a few runs each. By default the model is written to a result
// file and read back, so that its numbers carry the digits a loaded model has;
// `--values exact` exports the generated doubles, all seventeen digits of them.
// Ours replace their files atomically (renamed from the page cache, as the program
// does); the baselines only write. The bytes of each are compared with the
// baseline's.
//
//   export_bench [--elements N] [--runs K] [--baseline-runs K] [--dir PATH]
//                [--values file|exact]
//
// Files go to PATH (default: the build directory of the benchmarks) and are
// removed at the end.
#include <time.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "BenchTiming.h"
#include "base/NumberFormat.h"
#include "base/TaskPool.h"
#include "formats/CsvWriter.h"
#include "formats/VtuWriter.h"
#include "model/PrincipalStress.h"
#include "model/ResultFileReader.h"
#include "model/ShellModel.h"
#include "samples/PressurizedCylinder.h"
#include "samples/ResultFileWriter.h"

namespace {

using corvelt::bench::readOptionPairs;
using corvelt::bench::takeRunCount;

using corvelt::ShellModel;
namespace fs = std::filesystem;

struct Options : corvelt::bench::RunCounts {
    fs::path dir = CORVELT_BENCH_DIR;
    bool exactValues = false;
};

using corvelt::bench::Timing;
using corvelt::bench::reportRatio;
using corvelt::bench::reportTiming;
using corvelt::bench::bestTime;

// ---- Baselines --------------------------------------------------------------

// The table as a plain C++ program writes it, row by row.
void writeCsvWithIostream(const ShellModel& model, const fs::path& path) {
    std::ofstream out(path);
    if (!out) throw std::runtime_error("cannot create " + path.string());
    out << corvelt::csvHeader;
    for (std::int32_t e = 0; e < model.elementCount(); ++e) {
        const corvelt::ElementStressBlock& block =
            model.elementStresses[static_cast<std::size_t>(e)];
        for (int j = 0; j < 4; ++j) {
            const std::int32_t node = model.elementCorners(e)[j];
            const corvelt::Point3D& p = model.nodes[static_cast<std::size_t>(node)];
            for (int s = 0; s < 2; ++s) {
                const corvelt::StressRecord& stress =
                    block.surfaces[static_cast<std::size_t>(s)][j];
                out << e << ',' << j << ',' << node << ',' << corvelt::formatShortest(p.x) << ','
                    << corvelt::formatShortest(p.y) << ',' << corvelt::formatShortest(p.z) << ','
                    << s + 1;
                for (const double value : stress)
                    out << ',' << corvelt::formatShortest(value);
                const corvelt::PrincipalStresses principal = corvelt::principalStresses(stress);
                for (const double value :
                     {principal.p1, principal.p2, principal.p3, principal.intensity})
                    out << ',' << corvelt::formatShortest(value);
                out << '\n';
            }
        }
    }
}

template <typename T>
void put(std::ostream& out, T value) {
    out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

// The grid as a plain C++ program writes it, array by array; the XML around the
// data is taken from our file, so that the bytes can be compared.
void writeVtuWithIostream(const ShellModel& model, const std::string& head, const std::string& tail,
                          const fs::path& path) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error("cannot create " + path.string());
    out << head;
    const auto n = static_cast<std::uint64_t>(model.elementCount());
    const auto& stresses = model.elementStresses;
    for (int s = 0; s < 2; ++s) {
        put(out, n * 4 * 6 * 8);
        for (const auto& block : stresses)
            for (const auto& r : block.surfaces[static_cast<std::size_t>(s)])
                for (const int c : {corvelt::Sx, corvelt::Sy, corvelt::Sz, corvelt::Txy,
                                    corvelt::Tyz, corvelt::Txz})
                    put(out, r[static_cast<std::size_t>(c)]);
    }
    for (int s = 0; s < 2; ++s) {
        put(out, n * 4 * 8);
        for (const auto& block : stresses)
            for (const auto& r : block.surfaces[static_cast<std::size_t>(s)])
                put(out, r[corvelt::Se]);
    }
    put(out, n * 4 * 8);
    for (const std::int32_t node : model.connectivity)
        put(out, static_cast<std::int64_t>(node));
    put(out, n * 8);
    for (std::uint64_t e = 0; e < n; ++e)
        put(out, static_cast<std::int64_t>(e));
    put(out, n * 4 * 3 * 8);
    for (const std::int32_t node : model.connectivity) {
        const corvelt::Point3D& p = model.nodes[static_cast<std::size_t>(node)];
        put(out, p.x);
        put(out, p.y);
        put(out, p.z);
    }
    put(out, n * 4 * 8);
    for (std::uint64_t k = 0; k < 4 * n; ++k)
        put(out, static_cast<std::int64_t>(k));
    put(out, n * 8);
    for (std::uint64_t e = 0; e < n; ++e)
        put(out, static_cast<std::int64_t>(4 * (e + 1)));
    put(out, n);
    for (std::uint64_t e = 0; e < n; ++e)
        put(out, std::uint8_t{9});
    out << tail;
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

// The XML before and after the appended data of our file.
std::pair<std::string, std::string> xmlAround(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(16384, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(head.find("   _") + 4);
    const std::string tail = "\n  </AppendedData>\n</VTKFile>\n";
    return {head, tail};
}

// ---- Main -------------------------------------------------------------------

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    const auto take = [&](std::string_view option, std::string_view value) {
        if (takeRunCount(option, value, options)) return true;
        if (option == "--dir")
            options.dir = value;
        else if (option == "--values" && (value == "file" || value == "exact"))
            options.exactValues = value == "exact";
        else
            return false;
        return true;
    };
    if (!readOptionPairs(argc, argv, take)) return std::nullopt;
    return options;
}

void benchExport(const std::string& title, const Options& options, const fs::path& ours,
                 const fs::path& baseline, const std::function<void()>& writeOurs,
                 const std::function<void()>& writeBaseline) {
    const Timing ourTime = bestTime(options.runs, writeOurs);
    const Timing baselineTime = bestTime(options.baselineRuns, writeBaseline);
    if (!sameBytes(ours, baseline)) throw std::runtime_error(title + ": the files differ");
    const double megabytes = static_cast<double>(fs::file_size(ours)) / 1e6;
    std::cout << "\n" << title << ", " << std::setprecision(1) << megabytes << " MB\n";
    const std::string baselineRuns = std::to_string(options.baselineRuns);
    reportTiming("  iostream writer (baseline, best of " + baselineRuns + "): ", baselineTime,
                 megabytes);
    reportTiming("  corvelt export (best of " + std::to_string(options.runs) + "):            ",
                 ourTime, megabytes);
    std::cout << "  ";
    reportRatio(baselineTime, ourTime);
    fs::remove(ours);
    fs::remove(baseline);
}

corvelt::ResultData modelToExport(const Options& options) {
    corvelt::ResultData generated = corvelt::samples::generateCylinderResult(
        corvelt::samples::cylinderWithElementCount(options.elements));
    if (options.exactValues) return generated;
    const fs::path file = options.dir / "export_bench_model.txt";
    corvelt::samples::writeResultFile(file, generated);
    generated = {};
    corvelt::ResultData read = corvelt::readResultFile(file);
    fs::remove(file);
    return read;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: export_bench [--elements N] [--runs K] [--baseline-runs K] "
                     "[--dir PATH] [--values file|exact]\n";
        return 2;
    }
    try {
        std::cout << std::fixed;
        ShellModel model;
        model.adoptResult(modelToExport(*options));
        std::cout << "model: " << model.elementCount() << " elements, " << model.nodeCount()
                  << " nodes, everything selected, "
                  << (options->exactValues ? "exact generated values"
                                           : "values as read from a file")
                  << "; " << corvelt::defaultWorkerCount() << " threads\n";

        const fs::path vtu = options->dir / "export_bench.vtu";
        const fs::path vtuBaseline = options->dir / "export_bench_baseline.vtu";
        std::pair<std::string, std::string> around;
        benchExport(
            "VTK unstructured grid", *options, vtu, vtuBaseline,
            [&] { corvelt::writeVtu(model, vtu); },
            [&] {
                if (around.first.empty()) around = xmlAround(vtu);
                writeVtuWithIostream(model, around.first, around.second, vtuBaseline);
            });

        const fs::path csv = options->dir / "export_bench.csv";
        const fs::path csvBaseline = options->dir / "export_bench_baseline.csv";
        benchExport(
            "CSV table", *options, csv, csvBaseline, [&] { corvelt::writeCsv(model, csv); },
            [&] { writeCsvWithIostream(model, csvBaseline); });
    } catch (const std::exception& error) {
        std::cerr << "export_bench: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
