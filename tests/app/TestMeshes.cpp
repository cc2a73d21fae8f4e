#include "TestMeshes.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <stdlib.h>

#include "base/NumberFormat.h"

namespace corvelt::testing {

namespace {

void addElement(ResultData& data, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
    const double value = static_cast<double>(data.elementStresses.size());
    data.connectivity.insert(data.connectivity.end(), {a, b, c, d});
    ElementStressBlock block{};
    for (auto& surface : block.surfaces)
        for (StressRecord& corner : surface)
            corner.fill(value);
    data.elementStresses.push_back(block);
}

}  // namespace

ResultData squareGrid(int columns, int rows, double height) {
    ResultData data;
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= columns; ++i)
            data.nodes.push_back({double(i), double(j), height});
    const auto node = [columns](int i, int j) {
        return static_cast<std::int32_t>(j * (columns + 1) + i);
    };
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i)
            addElement(data, node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1));
    return data;
}

ResultData stackedSquares() {
    ResultData data;
    for (double z : {0.0, 1.0})
        data.nodes.insert(data.nodes.end(), {{0, 0, z}, {1, 0, z}, {1, 1, z}, {0, 1, z}});
    addElement(data, 0, 1, 2, 3);
    addElement(data, 4, 5, 6, 7);
    return data;
}

void writeResultFile(const std::filesystem::path& path, const ResultData& data) {
    std::ofstream out(path);
    out << "NPOIN=" << data.nodes.size() << "\nNELEM=" << data.elementStresses.size() << '\n';
    for (const Point3D& p : data.nodes)
        out << formatShortest(p.x) << ',' << formatShortest(p.y) << ',' << formatShortest(p.z)
            << '\n';
    for (std::size_t e = 0; e < data.elementStresses.size(); ++e) {
        for (int j = 0; j < ShellModel::nodesPerElement; ++j)
            out << data.connectivity[e * ShellModel::nodesPerElement + j] << (j < 3 ? "," : "\n");
        for (int j = 0; j < ShellModel::nodesPerElement; ++j)
            for (const auto& surface : data.elementStresses[e].surfaces)
                for (int c = 0; c < stressComponentCount; ++c)
                    out << formatShortest(surface[j][c])
                        << (c + 1 < stressComponentCount ? "," : "\n");
    }
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvelt-app-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace corvelt::testing
