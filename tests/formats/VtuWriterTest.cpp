// The VTK file parsed back by a small reader of its appended data: structure,
// every value exactly, the selection honoured.

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "ExportModels.h"
#include "app/TestMeshes.h"
#include "formats/VtuWriter.h"

namespace corvelt {
namespace {

struct DataArray {
    std::string type;
    int components = 1;
    std::vector<char> bytes;

    template <typename T>
    T at(std::size_t index) const {
        T value;
        std::memcpy(&value, bytes.data() + index * sizeof(T), sizeof(T));
        return value;
    }
};

struct VtuFile {
    std::string head;  // the XML before the appended data
    std::int64_t points = -1;
    std::int64_t cells = -1;
    std::map<std::string, DataArray> arrays;
};

std::string attribute(const std::string& element, const std::string& name) {
    std::smatch match;
    if (!std::regex_search(element, match, std::regex(" " + name + "=\"([^\"]*)\""))) return {};
    return match[1];
}

// Reads what the writer promises: UInt64 block sizes in the machine's byte order,
// data appended raw after an underscore.
VtuFile readVtu(const std::string& text) {
    VtuFile file;
    const std::size_t underscore = text.find("<AppendedData encoding=\"raw\">");
    const std::size_t data = text.find('_', underscore) + 1;
    file.head = text.substr(0, data);
    const std::string piece = file.head.substr(file.head.find("<Piece"));
    file.points = std::stoll(attribute(piece, "NumberOfPoints"));
    file.cells = std::stoll(attribute(piece, "NumberOfCells"));
    const std::regex dataArray("<DataArray[^>]*>");
    for (auto it = std::sregex_iterator(file.head.begin(), file.head.end(), dataArray);
         it != std::sregex_iterator(); ++it) {
        const std::string element = it->str();
        DataArray array;
        array.type = attribute(element, "type");
        if (const std::string components = attribute(element, "NumberOfComponents");
            !components.empty())
            array.components = std::stoi(components);
        EXPECT_EQ(attribute(element, "format"), "appended");
        const std::size_t at = data + std::stoull(attribute(element, "offset"));
        std::uint64_t size = 0;
        std::memcpy(&size, text.data() + at, sizeof size);
        EXPECT_LE(at + sizeof size + size, text.size());
        array.bytes.assign(text.data() + at + sizeof size, text.data() + at + sizeof size + size);
        file.arrays[attribute(element, "Name")] = std::move(array);
    }
    return file;
}

VtuFile exportOf(const ShellModel& model) {
    const testing::TempDir dir;
    writeVtu(model, dir.file("model.vtu"));
    const std::string text = testing::readText(dir.file("model.vtu"));
    EXPECT_TRUE(text.ends_with("</AppendedData>\n</VTKFile>\n"));
    return readVtu(text);
}

TEST(VtuWriter, HeadSaysHowToReadTheData) {
    const VtuFile file = exportOf(testing::exportModel(3));
    EXPECT_NE(file.head.find("<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" "
                             "byte_order=\"LittleEndian\" header_type=\"UInt64\">"),
              std::string::npos)
        << file.head;
    const std::map<std::string, std::pair<std::string, int>> expected{
        {"stress_surface1", {"Float64", 6}},
        {"stress_surface2", {"Float64", 6}},
        {"Se_surface1", {"Float64", 1}},
        {"Se_surface2", {"Float64", 1}},
        {"node", {"Int64", 1}},
        {"element", {"Int64", 1}},
        {"Points", {"Float64", 3}},
        {"connectivity", {"Int64", 1}},
        {"offsets", {"Int64", 1}},
        {"types", {"UInt8", 1}}};
    ASSERT_EQ(file.arrays.size(), expected.size());
    for (const auto& [name, typeAndComponents] : expected) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(file.arrays.contains(name));
        EXPECT_EQ(file.arrays.at(name).type, typeAndComponents.first);
        EXPECT_EQ(file.arrays.at(name).components, typeAndComponents.second);
    }
    // Cell data after point data, each under its section.
    EXPECT_LT(file.head.find("<PointData"), file.head.find("Name=\"node\""));
    EXPECT_LT(file.head.find("<CellData"), file.head.find("Name=\"element\""));
    EXPECT_LT(file.head.find("<Points>"), file.head.find("Name=\"Points\""));
    EXPECT_LT(file.head.find("<Cells>"), file.head.find("Name=\"connectivity\""));
}

TEST(VtuWriter, EverySelectedCornerIsAPointOfItsOwnWithItsValuesExactly) {
    // Several chunks, every third element unselected.
    const ShellModel model = testing::exportModel(9000);
    const VtuFile file = exportOf(model);
    std::vector<std::int32_t> selected;
    for (std::int32_t e = 0; e < model.elementCount(); ++e)
        if (model.elementSelected[static_cast<std::size_t>(e)] != 0) selected.push_back(e);
    const auto cells = static_cast<std::int64_t>(selected.size());
    ASSERT_EQ(file.cells, cells);
    ASSERT_EQ(file.points, 4 * cells);
    for (const auto& [name, array] : file.arrays) {
        const std::size_t valueBytes = array.type == "UInt8" ? 1 : 8;
        const bool perCell = name == "element" || name == "offsets" || name == "types";
        ASSERT_EQ(array.bytes.size(), valueBytes * static_cast<std::size_t>(array.components) *
                                          static_cast<std::size_t>(perCell ? cells : 4 * cells))
            << name;
    }

    const auto& a = file.arrays;
    constexpr int tensorOrder[6] = {Sx, Sy, Sz, Txy, Tyz, Txz};
    for (std::size_t cell = 0; cell < selected.size(); ++cell) {
        const std::int32_t e = selected[cell];
        ASSERT_EQ(a.at("element").at<std::int64_t>(cell), e);
        ASSERT_EQ(a.at("offsets").at<std::int64_t>(cell), 4 * static_cast<std::int64_t>(cell + 1));
        ASSERT_EQ(a.at("types").at<std::uint8_t>(cell), 9);
        for (int j = 0; j < 4; ++j) {
            const std::size_t point = 4 * cell + static_cast<std::size_t>(j);
            SCOPED_TRACE("element " + std::to_string(e) + " corner " + std::to_string(j));
            ASSERT_EQ(a.at("connectivity").at<std::int64_t>(point),
                      static_cast<std::int64_t>(point));
            const std::int32_t node = model.elementCorners(e)[j];
            ASSERT_EQ(a.at("node").at<std::int64_t>(point), node);
            const Point3D& p = model.nodes[static_cast<std::size_t>(node)];
            ASSERT_TRUE(testing::sameDouble(a.at("Points").at<double>(3 * point), p.x));
            ASSERT_TRUE(testing::sameDouble(a.at("Points").at<double>(3 * point + 1), p.y));
            ASSERT_TRUE(testing::sameDouble(a.at("Points").at<double>(3 * point + 2), p.z));
            const ElementStressBlock& block = model.elementStresses[static_cast<std::size_t>(e)];
            for (int s = 0; s < 2; ++s) {
                const StressRecord& stress = block.surfaces[static_cast<std::size_t>(s)][j];
                const std::string surface = std::to_string(s + 1);
                ASSERT_TRUE(testing::sameDouble(a.at("Se_surface" + surface).at<double>(point),
                                                stress[Se]));
                for (int c = 0; c < 6; ++c)
                    ASSERT_TRUE(testing::sameDouble(
                        a.at("stress_surface" + surface).at<double>(6 * point + c),
                        stress[static_cast<std::size_t>(tensorOrder[c])]))
                        << "surface " << surface << " component " << c;
            }
        }
    }
}

TEST(VtuWriter, NoSelectedElementGivesAnEmptyGrid) {
    ShellModel model = testing::exportModel(5);
    model.elementSelected.assign(model.elementSelected.size(), 0);
    const VtuFile file = exportOf(model);
    EXPECT_EQ(file.points, 0);
    EXPECT_EQ(file.cells, 0);
    EXPECT_EQ(file.arrays.size(), 10u);
    for (const auto& [name, array] : file.arrays)
        EXPECT_TRUE(array.bytes.empty()) << name;
}

}  // namespace
}  // namespace corvelt
