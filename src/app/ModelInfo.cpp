#include "app/ModelInfo.h"

#include <algorithm>
#include <array>
#include <limits>
#include <ostream>

#include "base/NumberFormat.h"
#include "model/ShellModel.h"

namespace corvelt {

namespace {

struct Range {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
};

}  // namespace

void writeModelInfo(std::ostream& out, const ShellModel& model) {
    std::array<Range, stressComponentCount> ranges{};
    for (const ElementStressBlock& block : model.elementStresses)
        for (const auto& surface : block.surfaces)
            for (const StressRecord& corner : surface)
                for (int c = 0; c < stressComponentCount; ++c) {
                    ranges[c].min = std::min(ranges[c].min, corner[c]);
                    ranges[c].max = std::max(ranges[c].max, corner[c]);
                }

    auto range = [](double low, double high) {
        return formatShortest(low) + " .. " + formatShortest(high);
    };
    out << "nodes: " << model.nodeCount() << '\n';
    out << "elements: " << model.elementCount() << '\n';
    out << "x: " << range(model.minX, model.maxX) << '\n';
    out << "y: " << range(model.minY, model.maxY) << '\n';
    out << "z: " << range(model.minZ, model.maxZ) << '\n';
    out << "mean edge length: " << formatShortest(model.meanEdgeLength) << '\n';
    for (int c = 0; c < stressComponentCount; ++c) {
        out << stressComponentNames[c] << ": ";
        out << (model.elementStresses.empty() ? std::string("none")
                                              : range(ranges[c].min, ranges[c].max))
            << '\n';
    }
}

}  // namespace corvelt
