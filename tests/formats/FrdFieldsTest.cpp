#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "formats/FrdFields.h"

namespace corvelt {
namespace {

std::optional<double> real(const std::string& field) {
    return realField(field, field.data() + field.size());
}

TEST(FrdFields, RealFieldsAsFortranWritesThem) {
    EXPECT_EQ(real(" 1.82785E+03"), 1827.85);
    EXPECT_EQ(real("-5.00000E-02"), -0.05);
    EXPECT_EQ(real(" 1.00000-100"), 1e-100);  // a three-digit exponent drops its E
    EXPECT_EQ(real("-2.50000+120"), -2.5e120);
    for (const char* bad : {"            ", " 1.0000E+0x", "         NaN", " 1.00000E+99 ", "1.0-"})
        EXPECT_FALSE(real(bad)) << bad;
}

TEST(FrdFields, ARealFieldEndsAtItsColumnsEvenWhereDigitsFollow) {
    const std::string line = " 1.50000E+0012345";
    EXPECT_EQ(realField(std::string_view(line).substr(0, 12), line.data() + line.size()), 1.5);
}

TEST(FrdFields, IntegerFieldsAreRightAligned) {
    EXPECT_EQ(integerField("        21"), 21);
    EXPECT_EQ(integerField("   -3"), -3);
    EXPECT_FALSE(integerField("     "));
    EXPECT_FALSE(integerField("  21 "));
    EXPECT_FALSE(integerField("99999999999"));
}

}  // namespace
}  // namespace corvelt
