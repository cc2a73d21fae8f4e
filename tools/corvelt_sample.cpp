// corvelt-sample: writes a result file of the pressurized-cylinder sample (see
// samples/PressurizedCylinder.h for the solution and the mesh).
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "samples/PressurizedCylinder.h"
#include "samples/ResultFileWriter.h"

namespace {

constexpr std::string_view usage =
    "usage: corvelt-sample [--elements N | --grid AXIAL HOOP] [--start DEGREES] [--sweep DEGREES]\n"
    "                      [--digits D] [-o FILE]\n"
    "       corvelt-sample -h | --help\n"
    "  --elements N     about N elements, nearly square (default grid 48 x 64)\n"
    "  --grid A H       A elements along the axis, H around the circumference\n"
    "  --start DEGREES  hoop angle where the mesh starts (default 180: the lower half)\n"
    "  --sweep DEGREES  meshed part of the circumference (default 180, 360 closes the tube)\n"
    "  --digits D       significant digits (default 7; 0 = exact round trip)\n"
    "  -o FILE          output file (default Shell_AverageStrs.txt)\n"
    "  -h, --help       print this help\n";

template <typename Number>
std::optional<Number> parseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

struct Options {
    corvelt::samples::CylinderSample sample;
    std::optional<long long> elementCount;
    corvelt::samples::ResultWriteOptions write;
    std::filesystem::path output = "Shell_AverageStrs.txt";
};

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int k = 1; k < argc; ++k) {
        const std::string_view option = argv[k];
        const auto next = [&]() -> std::string_view {
            return k + 1 < argc ? argv[++k] : std::string_view{};
        };
        if (option == "--elements") {
            options.elementCount = parseNumber<long long>(next());
            if (!options.elementCount || *options.elementCount < 1) return std::nullopt;
        } else if (option == "--grid") {
            const auto axial = parseNumber<int>(next());
            const auto hoop = parseNumber<int>(next());
            if (!axial || !hoop || *axial < 1 || *hoop < 1) return std::nullopt;
            options.sample.axialElements = *axial;
            options.sample.hoopElements = *hoop;
        } else if (option == "--sweep") {
            const auto sweep = parseNumber<double>(next());
            if (!sweep || *sweep <= 0.0 || *sweep > 360.0) return std::nullopt;
            options.sample.sweepDegrees = *sweep;
        } else if (option == "--start") {
            const auto start = parseNumber<double>(next());
            if (!start) return std::nullopt;
            options.sample.startDegrees = *start;
        } else if (option == "--digits") {
            const auto digits = parseNumber<int>(next());
            if (!digits || *digits < 0 || *digits > 17) return std::nullopt;
            options.write.significantDigits = *digits;
        } else if (option == "-o") {
            const std::string_view path = next();
            if (path.empty()) return std::nullopt;
            options.output = path;
        } else {
            return std::nullopt;
        }
    }
    if (options.elementCount) {
        const corvelt::samples::CylinderSample sized = corvelt::samples::cylinderWithElementCount(
            *options.elementCount, options.sample.sweepDegrees);
        options.sample.axialElements = sized.axialElements;
        options.sample.hoopElements = sized.hoopElements;
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help")) {
        std::cout << usage;
        return 0;
    }
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << usage;
        return 2;
    }
    try {
        const corvelt::ResultData data = corvelt::samples::generateCylinderResult(options->sample);
        corvelt::samples::writeResultFile(options->output, data, options->write);
        std::cout << options->output.string() << ": " << data.nodes.size() << " nodes, "
                  << data.elementStresses.size() << " elements (" << options->sample.axialElements
                  << " x " << options->sample.hoopElements << "), "
                  << std::filesystem::file_size(options->output) << " bytes\n";
    } catch (const std::exception& error) {
        std::cerr << "corvelt-sample: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
