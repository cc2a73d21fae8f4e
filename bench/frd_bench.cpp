// frd_bench: the .frd reader against a plain line-by-line sscanf reader of the
// same file, both timed in this run (best of a few runs each, after a warm-up so
// that both read from the page cache), and the peak anonymous memory of a fresh
// process that reads the .frd, next to one that reads the same model in our own
// format.
//
//   frd_bench [--elements N] [--runs K] [--baseline-runs K]
//
// The files (frd_bench_<N>.frd and frd_bench_<N>.txt in the build directory) are
// generated from the cylinder sample in CalculiX's layout unless they are there.
#include <time.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "BenchReads.h"
#include "BenchTiming.h"
#include "base/TaskPool.h"
#include "formats/FrdReader.h"
#include "model/PrincipalStress.h"
#include "model/ResultFileReader.h"
#include "samples/FrdFileWriter.h"
#include "samples/PressurizedCylinder.h"
#include "samples/ResultFileWriter.h"

namespace {

using corvelt::bench::readOptionPairs;
using corvelt::bench::takeRunCount;

using corvelt::ResultData;
namespace fs = std::filesystem;

// ---- The plain reader ---------------------------------------------------------

// Reads the file as a C program would: fgets each line, sscanf each record with
// the widths of its columns, node numbers looked up in a table by number, the
// shell rebuilt from the bricks as the reader does, Se computed.
ResultData readWithSscanf(const fs::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) throw std::runtime_error("cannot open " + path.string());
    std::vector<corvelt::Point3D> brickNodes;
    std::vector<int> numbers;
    std::vector<int> bricks;
    std::vector<std::array<double, 6>> stresses;
    std::vector<int> indexOf;  // by node number
    enum class Block { none, nodes, elements, stress, other } block = Block::none;
    bool inResultHead = false;
    char line[512];
    while (std::fgets(line, sizeof line, file) != nullptr) {
        if (std::strncmp(line, " -1", 3) == 0 || std::strncmp(line, " -2", 3) == 0) {
            if (block == Block::nodes) {
                int number = 0;
                corvelt::Point3D p;
                if (std::sscanf(line + 3, "%10d%12lf%12lf%12lf", &number, &p.x, &p.y, &p.z) != 4)
                    throw std::runtime_error("bad node line");
                numbers.push_back(number);
                brickNodes.push_back(p);
            } else if (block == Block::elements && line[2] == '2') {
                int n[8];
                if (std::sscanf(line + 3, "%10d%10d%10d%10d%10d%10d%10d%10d", &n[0], &n[1], &n[2],
                                &n[3], &n[4], &n[5], &n[6], &n[7]) != 8)
                    throw std::runtime_error("bad element line");
                for (const int number : n)
                    bricks.push_back(indexOf.at(static_cast<std::size_t>(number)));
            } else if (block == Block::stress) {
                int number = 0;
                std::array<double, 6> s{};
                if (std::sscanf(line + 3, "%10d%12lf%12lf%12lf%12lf%12lf%12lf", &number, &s[0],
                                &s[1], &s[2], &s[3], &s[4], &s[5]) != 7)
                    throw std::runtime_error("bad stress line");
                stresses.at(
                    static_cast<std::size_t>(indexOf.at(static_cast<std::size_t>(number)))) = s;
            }
            continue;
        }
        if (std::strncmp(line, "    2C", 6) == 0)
            block = Block::nodes;
        else if (std::strncmp(line, "    3C", 6) == 0)
            block = Block::elements;
        else if (std::strncmp(line, "  100C", 6) == 0)
            inResultHead = true;
        else if (std::strncmp(line, " -4", 3) == 0 && inResultHead) {
            block = std::strncmp(line + 5, "STRESS  ", 8) == 0 ? Block::stress : Block::other;
            inResultHead = false;
        } else if (std::strncmp(line, " -3", 3) == 0) {
            if (block == Block::nodes) {
                int largest = 0;
                for (const int number : numbers)
                    largest = std::max(largest, number);
                indexOf.assign(static_cast<std::size_t>(largest) + 1, -1);
                for (std::size_t k = 0; k < numbers.size(); ++k)
                    indexOf[static_cast<std::size_t>(numbers[k])] = static_cast<int>(k);
                stresses.resize(numbers.size());
            }
            block = Block::none;
        }
    }
    std::fclose(file);

    ResultData data;
    const std::size_t elements = bricks.size() / 8;
    std::vector<int> partner(brickNodes.size(), -1), shellOf(brickNodes.size(), -1);
    data.connectivity.resize(elements * 4);
    data.elementStresses.resize(elements);
    for (std::size_t e = 0; e < elements; ++e)
        for (std::size_t k = 0; k < 4; ++k) {
            const int low = bricks[e * 8 + k], high = bricks[e * 8 + k + 4];
            if (partner[static_cast<std::size_t>(low)] != high) {
                partner[static_cast<std::size_t>(low)] = high;
                shellOf[static_cast<std::size_t>(low)] = static_cast<int>(data.nodes.size());
                const corvelt::Point3D a = brickNodes[static_cast<std::size_t>(low)];
                const corvelt::Point3D b = brickNodes[static_cast<std::size_t>(high)];
                data.nodes.push_back(
                    {std::midpoint(a.x, b.x), std::midpoint(a.y, b.y), std::midpoint(a.z, b.z)});
            }
            data.connectivity[e * 4 + k] = shellOf[static_cast<std::size_t>(low)];
            for (int surface = 0; surface < 2; ++surface) {
                const auto& s = stresses[static_cast<std::size_t>(surface == 0 ? high : low)];
                corvelt::StressRecord& record = data.elementStresses[e].surfaces[surface][k];
                record = {s[0], s[1], s[2], s[3], s[5], s[4], 0.0};
                record[corvelt::Se] = corvelt::vonMisesStress(record);
            }
        }
    return data;
}

// ---- Timing ---------------------------------------------------------------------

using corvelt::bench::Timing;
using corvelt::bench::bestReadTime;

// ---- Peak memory in a fresh process -----------------------------------------------

using corvelt::bench::statusKilobytes;

// The child: reads the file once, with the reader its name asks for, and prints
// the anonymous memory before and at the peak.
int measureMemory(const fs::path& file) {
    ResultData data;
    const corvelt::bench::AnonymousPeak memory = corvelt::bench::anonymousPeakDuring([&] {
        data = file.extension() == ".frd" ? corvelt::readFrdFile(file).data
                                          : corvelt::readResultFile(file);
    });
    std::cout << memory.before << ' ' << memory.peak << '\n';
    return data.nodes.empty() ? 1 : 0;
}

// Peak anonymous memory above the start of a fresh process reading the file, in MB.
double peakMegabytes(const fs::path& file) {
    std::istringstream figures(corvelt::bench::outputOfMeasuringChild(file));
    std::int64_t before = 0, peak = 0;
    if (!(figures >> before >> peak)) return -1;
    return static_cast<double>(peak - before) / 1024;
}

// ---- Main -------------------------------------------------------------------------

using Options = corvelt::bench::RunCounts;

bool parseOptions(int argc, char** argv, Options& options) {
    return readOptionPairs(argc, argv, [&](std::string_view option, std::string_view value) {
        return takeRunCount(option, value, options);
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--measure-memory") return measureMemory(argv[2]);
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << "usage: frd_bench [--elements N] [--runs K] [--baseline-runs K]\n";
        return 2;
    }
    try {
        const std::string stem = "frd_bench_" + std::to_string(options.elements);
        const fs::path frd = fs::path(CORVELT_BENCH_DIR) / (stem + ".frd");
        const fs::path own = fs::path(CORVELT_BENCH_DIR) / (stem + ".txt");
        const corvelt::samples::CylinderSample sample =
            corvelt::samples::cylinderWithElementCount(options.elements);
        if (!fs::exists(frd) || !fs::exists(own)) {
            std::cout << "generating " << frd.string() << " and " << own.string() << " ..."
                      << std::endl;
            const ResultData model = corvelt::samples::generateCylinderResult(sample);
            corvelt::samples::writeFrdFile(frd, model, sample.thickness);
            // Our own format holds the model that the .frd gives, so both readers
            // build the same arrays.
            corvelt::samples::writeResultFile(own, corvelt::readFrdFile(frd).data);
        }
        const double megabytes = static_cast<double>(fs::file_size(frd)) / 1e6;
        std::cout << std::fixed << std::setprecision(1) << "file: " << frd.string() << ", "
                  << megabytes << " MB\n";

        double ourSum = 0, baselineSum = 0;
        const auto ours = [&] { return corvelt::readFrdFile(frd).data; };
        const auto baseline = [&] { return readWithSscanf(frd); };
        bestReadTime(1, ours, ourSum);  // warm-up: the file into the page cache
        const Timing baselineTime = bestReadTime(options.baselineRuns, baseline, baselineSum);
        const Timing ourTime = bestReadTime(options.runs, ours, ourSum);
        if (ourSum != baselineSum) throw std::runtime_error("the two readers disagree");

        const auto report = [megabytes](const char* name, const Timing& time, int runs) {
            std::cout << std::setprecision(1) << name << megabytes / time.wall << " MB/s (best of "
                      << runs << ": " << std::setprecision(3) << time.wall << " s, "
                      << time.processor << " s of processor time)\n";
        };
        report("sscanf reader (baseline): ", baselineTime, options.baselineRuns);
        report("corvelt .frd reader:      ", ourTime, options.runs);
        std::cout << "corvelt reader threads: " << corvelt::defaultWorkerCount() << "\n";
        corvelt::bench::reportRatio(baselineTime, ourTime);
        std::cout << std::setprecision(1) << "peak memory of one read in a fresh process: .frd "
                  << peakMegabytes(frd) << " MB, our own format of the same model "
                  << peakMegabytes(own) << " MB (anonymous, above the start)\n";
    } catch (const std::exception& error) {
        std::cerr << "frd_bench: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
