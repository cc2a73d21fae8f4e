#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "FrdTesting.h"
#include "app/TestMeshes.h"
#include "formats/FrdReader.h"
#include "formats/ResultFileFormats.h"
#include "model/PrincipalStress.h"

namespace corvelt {
namespace {

const std::string dataDir = CORVELT_SOURCE_DIR "/tests/data/frd/";

// --- The three results that ccx wrote (decks beside them).

struct RealFile {
    const char* name;
    std::int32_t nodes;
    std::int32_t elements;
    std::int32_t steps;
    std::size_t distinctPlaces;  // fewer than nodes where a fold was split into a knot
};

class CalculixResult : public ::testing::TestWithParam<RealFile> {};

TEST_P(CalculixResult, OpensWithItsCountsAndEveryCornerOnTheNormalsSide) {
    const RealFile& file = GetParam();
    const FrdResult result = readFrdFile(dataDir + file.name);
    EXPECT_EQ(result.data.nodes.size(), static_cast<std::size_t>(file.nodes));
    EXPECT_EQ(result.data.elementStresses.size(), static_cast<std::size_t>(file.elements));
    EXPECT_EQ(result.facts.stepCount, file.steps);
    EXPECT_EQ(result.facts.stressStep, file.steps);
    EXPECT_EQ(result.facts.elementsAgainstNormal, 0);
    std::set<std::tuple<double, double, double>> places;
    for (const Point3D& p : result.data.nodes)
        places.emplace(p.x, p.y, p.z);
    EXPECT_EQ(places.size(), file.distinctPlaces);
    // Se is computed from the six components on every corner and surface.
    for (const ElementStressBlock& block : result.data.elementStresses)
        for (const auto& surface : block.surfaces)
            for (const StressRecord& s : surface)
                ASSERT_EQ(s[Se], vonMisesStress(s));
}

TEST_P(CalculixResult, ReadsTheSameInAnyChunksOnAnyWorkersLineByLineOrNot) {
    const std::string path = dataDir + GetParam().name;
    const FrdResult whole = readFrdFile(path);
    for (const std::size_t chunkBytes : {1, 7, 64, 1000}) {
        const FrdResult pieces = readFrdFile(path, {}, {chunkBytes, 3, true});
        testing::expectSameData(pieces.data, whole.data);
        EXPECT_EQ(pieces.facts.stepCount, whole.facts.stepCount);
    }
}

INSTANTIATE_TEST_SUITE_P(Frd, CalculixResult,
                         ::testing::Values(RealFile{"plate.frd", 20, 12, 2, 20},
                                           RealFile{"cylinder.frd", 35, 24, 1, 35},
                                           RealFile{"fold.frd", 32, 18, 1, 28}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

TEST(FrdReader, PlateCornersAndStressesOfTheLastStep) {
    const FrdResult plate = readFrdFile(dataDir + "plate.frd");
    // The deck's nodes 1, 2, 7 and 6 are the corners of element 1: the midpoints of
    // the bricks' faces at z = -0.025 and 0.025.
    const auto corner = [&](int element, int k) {
        return plate.data.nodes[static_cast<std::size_t>(plate.data.connectivity[element * 4 + k])];
    };
    EXPECT_EQ(corner(0, 0).x, 0.0);
    EXPECT_EQ(corner(0, 1).x, 0.5);
    EXPECT_EQ(corner(0, 2).y, 0.5);
    EXPECT_EQ(corner(0, 3).x, 0.0);
    EXPECT_EQ(corner(0, 2).z, 0.0);
    // Brick node 23 (corner 0, k + 4) in the second STRESS block: SXX, SYY, SZZ,
    // SXY, SYZ, SZX = 2.47750E+04 7.38456E+03 -5.00112E+00 5.88821E+02 -1.71403E+03
    // 1.84550E+03; brick node 21 is the second surface.
    const StressRecord& first = plate.data.elementStresses[0].surfaces[0][0];
    EXPECT_EQ(first[Sx], 2.47750e4);
    EXPECT_EQ(first[Sy], 7.38456e3);
    EXPECT_EQ(first[Sz], -5.00112);
    EXPECT_EQ(first[Txy], 5.88821e2);
    EXPECT_EQ(first[Txz], 1.84550e3);
    EXPECT_EQ(first[Tyz], -1.71403e3);
    EXPECT_EQ(plate.data.elementStresses[0].surfaces[1][0][Sx], -1.91897e4);
}

TEST(FrdReader, CylinderNodesLieOnTheMidSurface) {
    const FrdResult cylinder = readFrdFile(dataDir + "cylinder.frd");
    for (const Point3D& p : cylinder.data.nodes)
        EXPECT_NEAR(std::hypot(p.x, p.y), 1.0, 1e-5);
    // Inner pressure 1 on radius 1 and thickness 0.02: hoop stress 50 away from the ends.
    double largest = 0;
    for (const ElementStressBlock& block : cylinder.data.elementStresses)
        largest = std::max(largest, block.surfaces[0][0][Se]);
    EXPECT_NEAR(largest, 50.0, 1.0);
}

TEST(FrdReader, AFlippedBrickIsCountedAndWarnedAbout) {
    std::string text = testing::readText(dataDir + "plate.frd");
    // Element 2's faces swapped: brick nodes 5 to 8 now lie below the normal.
    const std::string nodes =
        " -2        24        27        42        39        26        29        44        41";
    const std::string swapped =
        " -2        26        29        44        41        24        27        42        39";
    const std::size_t at = text.find(nodes);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, nodes.size(), swapped);
    const FrdResult result = parseFrdText(InMemoryText(text), "flipped.frd");
    EXPECT_EQ(result.facts.elementsAgainstNormal, 1);
    EXPECT_EQ(result.facts.firstElementAgainstNormal, 1);

    testing::TempDir dir;
    testing::writeText(dir.file("flipped.txt"), text);
    const ResultFile file = readResultFileOfAnyFormat(dir.file("flipped.txt"));
    EXPECT_NE(file.warning.find("on 1 of 12 elements (the first is element 1)"), std::string::npos)
        << file.warning;
    EXPECT_NE(std::find(file.facts.begin(), file.facts.end(),
                        "first stress lines against the normal: 1 of 12 elements, the first "
                        "element 1"),
              file.facts.end());
}

TEST(FrdReader, RecognisedByContentWhateverTheName) {
    testing::TempDir dir;
    testing::writeText(dir.file("results.txt"), testing::readText(dataDir + "fold.frd"));
    const ResultFile file = readResultFileOfAnyFormat(dir.file("results.txt"));
    EXPECT_EQ(file.data.elementStresses.size(), 18u);
    EXPECT_EQ(file.facts.at(1), "steps: 1");
    EXPECT_TRUE(file.warning.empty());
    // Our own format still goes to its own reader, which names its own faults.
    testing::writeText(dir.file("model.frd"), "NPOIN=1\nNELEM=0\n0,0,0\n");
    EXPECT_EQ(readResultFileOfAnyFormat(dir.file("model.frd")).data.nodes.size(), 1u);
}

TEST(FrdReader, CancelStopsTheRead) {
    int calls = 0;
    EXPECT_THROW(readFrdFile(dataDir + "plate.frd", [&](double) { return ++calls < 3; }, {64, 2}),
                 ReadCancelled);
}

}  // namespace
}  // namespace corvelt
