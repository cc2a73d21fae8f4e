#include "model/FaceStress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/PrincipalStress.h"
#include "model/StressQuantity.h"

namespace corvelt {
namespace {

// Surface 1 in tension along x and bent, surface 2 in compression; the stored Se of
// both is deliberately not the von Mises stress of its components.
const StressRecord first{10, 4, 0, 2, 1, 0.5, 99};
const StressRecord second{-6, 2, 0, -2, 1, 0.5, 77};

ElementStressBlock blockWith(const StressRecord& s1, const StressRecord& s2) {
    ElementStressBlock block;
    for (int j = 0; j < 4; ++j) {
        block.surfaces[0][j] = s1;
        block.surfaces[1][j] = s2;
    }
    return block;
}

TEST(FaceStress, MembraneIsTheMeanAndBendingHalfTheDifferenceWithTheirOwnVonMises) {
    const StressRecord membrane = membraneStress(first, second);
    const StressRecord bending = bendingStress(first, second);
    const StressRecord expectedMembrane{2, 3, 0, 0, 1, 0.5, 0};
    const StressRecord expectedBending{8, 1, 0, 2, 0, 0, 0};
    for (int c = 0; c < Se; ++c) {
        EXPECT_EQ(membrane[c], expectedMembrane[c]) << c;
        EXPECT_EQ(bending[c], expectedBending[c]) << c;
    }
    EXPECT_EQ(membrane[Se], vonMisesStress(expectedMembrane));
    EXPECT_EQ(bending[Se], vonMisesStress(expectedBending));
    EXPECT_DOUBLE_EQ(bending[Se], std::sqrt(0.5 * (49 + 1 + 64) + 3 * 4));
}

TEST(FaceStress, CombinedFacesStayFiniteAtTheEndsOfTheRange) {
    const double big = std::numeric_limits<double>::max();
    const StressRecord top{big, -big, 0, 0, 0, 0, 0};
    const StressRecord bottom{big, big, 0, 0, 0, 0, 0};
    EXPECT_EQ(membraneStress(top, bottom)[Sx], big);
    EXPECT_EQ(membraneStress(top, bottom)[Sy], 0.0);
    EXPECT_EQ(bendingStress(top, bottom)[Sy], -big);
    EXPECT_TRUE(std::isfinite(bendingStress(top, bottom)[Se]));
}

struct FaceCase {
    ShellFace face;
    int quantity;
    double firstValue;  // what the face keeps for the first surface slot
    double secondValue;
};

class FaceValues : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FaceValues, KeepWhatTheFaceShows) {
    const FaceCase& c = GetParam();
    const auto values = faceValues(blockWith(first, second), 2, c.quantity, c.face);
    EXPECT_DOUBLE_EQ(values[0], c.firstValue);
    EXPECT_DOUBLE_EQ(values[1], c.secondValue);
}

const double p1First = principalStresses(first).p1;
const double p1Second = principalStresses(second).p1;
const double membraneSint = principalStresses(membraneStress(first, second)).intensity;

INSTANTIATE_TEST_SUITE_P(
    Faces, FaceValues,
    ::testing::Values(
        FaceCase{ShellFace::facing, Sx, 10, -6},
        FaceCase{ShellFace::facing, Se, 99, 77},  // stored, as it is
        FaceCase{ShellFace::facing, P1, p1First, p1Second},
        FaceCase{ShellFace::surface1, Sx, 10, 10}, FaceCase{ShellFace::surface2, Se, 77, 77},
        FaceCase{ShellFace::surface2, P1, p1Second, p1Second},
        FaceCase{ShellFace::membrane, Sx, 2, 2},
        FaceCase{ShellFace::membrane, stressIntensity, membraneSint, membraneSint},
        FaceCase{ShellFace::bending, Txy, 2, 2}, FaceCase{ShellFace::envelope, Sx, 10, 10},
        FaceCase{ShellFace::envelope, Sy, 4, 4}, FaceCase{ShellFace::envelope, Se, 99, 99}),
    [](const auto& info) {
        return std::string(shellFaceNames[faceIndex(info.param.face)]) +
               std::string(stressQuantityNames[info.param.quantity]);
    });

}  // namespace
}  // namespace corvelt
