// The fast general format of the stress listings against printf's "%.6g".

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "base/NumberFormat.h"

namespace corvelt {
namespace {

std::string fast(double value) {
    char text[general6MaxLength + 1];
    return {text, writeGeneral6(text, value)};
}

std::string printed(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);  // the test runs in the C locale
    return text;
}

TEST(General6, EqualsPrintfAtTheEdges) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    for (const double value : {0.0,
                               -0.0,
                               1.0,
                               -2.5,
                               0.1,
                               1e-5,
                               1e-4,
                               0.000123456789,
                               99999.95,
                               999999.4,
                               999999.5,
                               999999.7,
                               1e6,
                               1234565.0,
                               1234575.0,
                               123456.5,
                               0.5,
                               2.5e-5,
                               9.999995,
                               9.9999949999,
                               1e21,
                               1e22,
                               1e23,
                               1e27,
                               1e28,
                               1e-17,
                               1e-18,
                               5e-324,
                               2.2250738585072014e-308,
                               1.7976931348623157e308,
                               -1.5e100,
                               infinity,
                               -infinity})
        EXPECT_EQ(fast(value), printed(value)) << value;
}

// Neighbours of powers of ten, six digits and a half at every scale (exact ties and
// their neighbours), any bit pattern, and typical stresses.
TEST(General6, EqualsPrintfForGeneratedDoubles) {
    std::vector<double> values;
    for (int power = -25; power <= 30; ++power) {
        double up = std::pow(10.0, power), down = up;
        for (int step = 0; step < 8;
             ++step, up = std::nextafter(up, 1e308), down = std::nextafter(down, 0.0))
            values.insert(values.end(), {up, -down});
    }
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> stress(-1000.0, 1000.0);
    for (int k = 0; k < 20000; ++k) {
        const double half = (static_cast<double>(100000 + random() % 900000) + 0.5) *
                            std::pow(10.0, static_cast<int>(random() % 30) - 15);
        const double anyBits = std::bit_cast<double>(random());
        values.insert(values.end(), {half, std::nextafter(half, 0.0), std::nextafter(half, 1e308),
                                     stress(random)});
        if (!std::isnan(anyBits)) values.push_back(anyBits);
    }
    for (const double value : values)
        ASSERT_EQ(fast(value), printed(value)) << value;
}

// The tables' fast shortest form against the standard one, at the switches between
// fixed and scientific notation, at the ends of the range and on random bits.
TEST(Shortest, EqualsToChars) {
    const auto check = [](double value) {
        char text[shortestMaxLength];
        const std::string fast(text, writeShortest(text, value));
        ASSERT_EQ(fast, formatShortest(value)) << std::hexfloat << value;
    };
    std::vector<double> values{0.0, -0.0, 5e-324, -5e-324, 2.2250738585072014e-308,
                               std::numeric_limits<double>::max(), -1.0, 0.1, 1.0 / 3.0,
                               9007199254740993.0, 123456789012345680000.0, 1e22, 1e23};
    for (int p = -325; p <= 309; ++p)
        for (const double digits :
             {1.0, 1.5, 9.999, 123456.0, 1.2345678, 1.23456789, 1234567890123.0})
            values.push_back(digits * std::pow(10.0, p));
    for (const double value : values) {
        check(value);
        check(std::nextafter(value, 0.0));
        check(std::nextafter(value, 1e300));
    }
    std::mt19937_64 random(11);
    for (int k = 0; k < 1'000'000; ++k) {
        const double value = std::bit_cast<double>(random());
        if (!std::isfinite(value)) continue;
        check(value);
        // Numbers as a result file gives them: seven significant digits.
        const std::string seven = formatScientific(value, 6);
        double rounded = 0;
        std::from_chars(seven.data(), seven.data() + seven.size(), rounded);
        check(rounded);
    }
}

}  // namespace
}  // namespace corvelt
