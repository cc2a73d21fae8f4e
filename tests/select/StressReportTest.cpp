// The two stress listings byte for byte: layout, number format, order of the
// node listing, empty selections, locale independence and failures.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <locale>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "app/TestMeshes.h"
#include "select/StressReport.h"
#include "view/TestMeshes.h"

namespace corvelt {
namespace {

const std::string header =
    "           Node             SX             SY             SZ            TXY            TXZ"
    "            TYZ             SE\n";

// A stress line as printf writes it in the C locale, for expected texts.
std::string printfLine(std::int32_t node, const StressRecord& r) {
    char line[200];
    std::snprintf(line, sizeof line, "%14d:%15g%15g%15g%15g%15g%15g%15g\n", node, r[0], r[1], r[2],
                  r[3], r[4], r[5], r[6]);
    return line;
}

// Every component of element e, surface s, corner j tells all three apart.
ResultData withTellingStresses(ResultData data) {
    for (std::size_t e = 0; e < data.elementStresses.size(); ++e)
        for (int s = 0; s < 2; ++s)
            for (int j = 0; j < 4; ++j)
                for (int c = 0; c < stressComponentCount; ++c)
                    data.elementStresses[e].surfaces[s][j][c] =
                        static_cast<double>(e) * 100 + s * 10 + j + c * 0.125;
    return data;
}

// The pair of lines of one corner occurrence.
std::string cornerLines(const ShellModel& model, std::int32_t node, std::int32_t element,
                        int corner) {
    const ElementStressBlock& block = model.elementStresses[static_cast<std::size_t>(element)];
    return printfLine(node, block.surfaces[0][corner]) +
           printfLine(node, block.surfaces[1][corner]);
}

class StressReport : public ::testing::Test {
  protected:
    // Two elements sharing nodes 1 and 2; element 1 names node 1 twice; node 5 is
    // used by no element.
    static ShellModel twoElements() {
        testing::MeshBuilder mesh;
        for (int n = 0; n < 6; ++n)
            mesh.addNode({double(n), 0.0, 0.0});
        mesh.addElement({0, 1, 2, 3});
        mesh.addElement({1, 4, 2, 1});
        return testing::modelOf(withTellingStresses(mesh.take()));
    }

    std::string list(ItemKind kind) {
        const std::filesystem::path path = writeStressReport(model, kind, dir.path());
        EXPECT_EQ(path.filename(),
                  kind == ItemKind::nodes ? nodeStressReportFileName : elementStressReportFileName);
        return testing::readText(path);
    }

    ShellModel model = twoElements();
    testing::TempDir dir;
};

TEST_F(StressReport, NumbersAsAFreshTextStreamWritesThemInFixedColumns) {
    model.nodeSelected.assign(model.nodeSelected.size(), 0);
    model.nodeSelected[3] = 1;  // corner 3 of element 0 only
    model.elementStresses[0].surfaces[0][3] = {1234567.0, -0.0,       1.5e-5, 0.000123456789,
                                               100000.0,  3.14159265, -2.5};
    model.elementStresses[0].surfaces[1][3] = {1e6,      999999.7, 1.23456789e-5, 0.0001,
                                               123456.7, 1e-300,   -1.5e100};
    const std::string expected =
        header +
        "             3:    1.23457e+06             -0        1.5e-05    0.000123457         100000"
        "        3.14159           -2.5\n"
        "             3:          1e+06          1e+06    1.23457e-05         0.0001         123457"
        "         1e-300      -1.5e+100\n";
    EXPECT_EQ(list(ItemKind::nodes), expected);

    // Qt sets LC_NUMERIC from the desktop; a decimal-comma desktop must not change a byte.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE.UTF-8";
    const std::locale previousGlobal = std::locale::global(std::locale("de_DE.UTF-8"));
    const std::string underGerman = list(ItemKind::nodes);
    std::locale::global(previousGlobal);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(underGerman, expected);
}

TEST_F(StressReport, NodeListingGoesByNodeThenElementThenCorner) {
    model.nodeSelected = {0, 1, 1, 0, 1, 1};
    const std::string expected = header + cornerLines(model, 1, 0, 1) +
                                 cornerLines(model, 1, 1, 0) + cornerLines(model, 1, 1, 3) +
                                 cornerLines(model, 2, 0, 2) + cornerLines(model, 2, 1, 2) +
                                 cornerLines(model, 4, 1, 1);
    EXPECT_EQ(list(ItemKind::nodes), expected);
}

TEST_F(StressReport, EmptySelectionsGiveTheHeaderOrNothing) {
    model.nodeSelected.assign(model.nodeSelected.size(), 0);
    model.elementSelected.assign(model.elementSelected.size(), 0);
    EXPECT_EQ(list(ItemKind::nodes), header);
    EXPECT_EQ(list(ItemKind::elements), "");
}

TEST_F(StressReport, AFolderThatCannotTakeTheListingFailsWithTheReason) {
    const std::filesystem::path missing = dir.file("missing");
    for (const auto& [kind, headline, name] :
         {std::tuple{ItemKind::nodes, "被选择节点应力文件输出失败!\n", "SelectedNodeStress.txt"},
          std::tuple{ItemKind::elements, "被选择单元应力文件输出失败!\n",
                     "SelectedElemStress.txt"}}) {
        try {
            writeStressReport(model, kind, missing);
            ADD_FAILURE() << "wrote into a missing folder";
        } catch (const StressReportError& error) {
            EXPECT_EQ(error.what(),
                      headline + (missing / name).string() + ": No such file or directory");
        }
    }
}

// Many elements around a few nodes, each naming one twice, against the plain scan
// of every element for every selected node; large enough for several chunks.
TEST_F(StressReport, ListingsOfManyElementsEqualThePlainScans) {
    std::mt19937 random(5);
    testing::MeshBuilder mesh;
    constexpr int nodeCount = 40;
    for (int n = 0; n < nodeCount; ++n)
        mesh.addNode({double(n), 0.0, 0.0});
    std::uniform_int_distribution<std::int32_t> anyNode(0, nodeCount - 1);
    for (int e = 0; e < 1500; ++e) {
        const std::int32_t shared = anyNode(random);
        mesh.addElement({shared, anyNode(random), shared, anyNode(random)});
    }
    model = testing::modelOf(withTellingStresses(mesh.take()));
    for (auto& flag : model.nodeSelected)
        flag = static_cast<std::uint8_t>(random() % 3 != 0);
    for (auto& flag : model.elementSelected)
        flag = static_cast<std::uint8_t>(random() % 3 != 0);

    std::string expected = header;
    for (std::int32_t n = 0; n < model.nodeCount(); ++n) {
        if (model.nodeSelected[static_cast<std::size_t>(n)] == 0) continue;
        for (std::int32_t e = 0; e < model.elementCount(); ++e)
            for (int j = 0; j < 4; ++j)
                if (model.elementCorners(e)[j] == n) expected += cornerLines(model, n, e, j);
    }
    EXPECT_EQ(list(ItemKind::nodes), expected);

    expected.clear();
    for (std::int32_t e = 0; e < model.elementCount(); ++e) {
        if (model.elementSelected[static_cast<std::size_t>(e)] == 0) continue;
        expected += "ELEMENT:" + std::to_string(e) + "\n" + header;
        for (int j = 0; j < 4; ++j)
            expected += cornerLines(model, model.elementCorners(e)[j], e, j);
    }
    EXPECT_EQ(list(ItemKind::elements), expected);
}

}  // namespace
}  // namespace corvelt
