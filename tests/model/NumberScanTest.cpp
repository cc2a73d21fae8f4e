#include "model/NumberScan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace corvelt {
namespace {

struct RealCase {
    const char* text;
    ScanStatus status;
    double value;        // when ok
    std::size_t length;  // bytes taken, when ok
};

class ScanDouble : public ::testing::TestWithParam<RealCase> {};

TEST_P(ScanDouble, ReadsWhatTheFormatAllows) {
    const RealCase& c = GetParam();
    const ScanResult<double> result = scanDouble(c.text, c.text + std::strlen(c.text));
    ASSERT_EQ(result.status, c.status) << c.text;
    if (c.status != ScanStatus::ok) return;
    EXPECT_EQ(result.value, c.value) << c.text;
    EXPECT_EQ(std::signbit(result.value), std::signbit(c.value)) << c.text;
    EXPECT_EQ(static_cast<std::size_t>(result.end - c.text), c.length) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScanDouble,
    ::testing::Values(
        RealCase{"1.5,", ScanStatus::ok, 1.5, 3}, RealCase{"+2.25", ScanStatus::ok, 2.25, 5},
        RealCase{"-0.5", ScanStatus::ok, -0.5, 4}, RealCase{"1.", ScanStatus::ok, 1.0, 2},
        RealCase{".5", ScanStatus::ok, 0.5, 2}, RealCase{"-.5e1", ScanStatus::ok, -5.0, 5},
        RealCase{"1.5e-3 ", ScanStatus::ok, 1.5e-3, 6}, RealCase{"2E+2", ScanStatus::ok, 200.0, 4},
        // An exponent without digits is not part of the number.
        RealCase{"7e,", ScanStatus::ok, 7.0, 1},
        // Too small for a double reads as zero of its sign, as strtod does.
        RealCase{"1e-400", ScanStatus::ok, 0.0, 6},
        RealCase{"-123.4e-400", ScanStatus::ok, -0.0, 11},
        RealCase{"0.000001e-320", ScanStatus::ok, 0.0, 13},
        RealCase{"1e-310", ScanStatus::ok, 1e-310, 6},
        RealCase{"1e400", ScanStatus::outOfRange, 0, 0},
        RealCase{"-0.0000001e316", ScanStatus::outOfRange, 0, 0},
        RealCase{"nan", ScanStatus::notFinite, 0, 0}, RealCase{"-inf", ScanStatus::notFinite, 0, 0},
        RealCase{"+-1", ScanStatus::notANumber, 0, 0},
        RealCase{"++1", ScanStatus::notANumber, 0, 0}, RealCase{"-", ScanStatus::notANumber, 0, 0},
        RealCase{"", ScanStatus::notANumber, 0, 0}, RealCase{" 1", ScanStatus::notANumber, 0, 0},
        RealCase{",", ScanStatus::notANumber, 0, 0}));

TEST(ScanInt32, TakesSignsAndRefusesWhatDoesNotFit) {
    const auto scan = [](const char* text) { return scanInt32(text, text + std::strlen(text)); };
    EXPECT_EQ(scan("+17,").value, 17);
    EXPECT_EQ(scan("-2147483648").value, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(scan("2147483647").status, ScanStatus::ok);
    EXPECT_EQ(scan("2147483648").status, ScanStatus::outOfRange);
    EXPECT_EQ(scan("+-3").status, ScanStatus::notANumber);
    const char* decimal = "1.5";
    EXPECT_EQ(scanInt32(decimal, decimal + 3).end, decimal + 1);
}

}  // namespace
}  // namespace corvelt
