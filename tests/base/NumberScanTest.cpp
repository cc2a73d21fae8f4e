#include "base/NumberScan.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>

namespace corvelt {
namespace {

struct RealCase {
    const char* text;
    ScanStatus status;
    double value;        // when ok
    std::size_t length;  // bytes taken, when ok
};

void PrintTo(const RealCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ScanDouble : public ::testing::TestWithParam<RealCase> {};

// Short spellings are read from whole words where there is room after them: every
// text is scanned at the end of its buffer and with room after it.
std::string withRoomAfter(const std::string& text) {
    return text + std::string(40, ' ');
}

TEST_P(ScanDouble, ReadsWhatTheFormatAllows) {
    const RealCase& c = GetParam();
    for (const std::string& text : {std::string(c.text), withRoomAfter(c.text)}) {
        const ScanResult<double> result = scanDouble(text.data(), text.data() + text.size());
        ASSERT_EQ(result.status, c.status) << c.text;
        if (c.status != ScanStatus::ok) continue;
        EXPECT_EQ(result.value, c.value) << c.text;
        EXPECT_EQ(std::signbit(result.value), std::signbit(c.value)) << c.text;
        EXPECT_EQ(static_cast<std::size_t>(result.end - text.data()), c.length) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScanDouble,
    ::testing::Values(
        RealCase{"1.5,", ScanStatus::ok, 1.5, 3}, RealCase{"+2.25", ScanStatus::ok, 2.25, 5},
        RealCase{"-0.5", ScanStatus::ok, -0.5, 4}, RealCase{"1.", ScanStatus::ok, 1.0, 2},
        RealCase{".5", ScanStatus::ok, 0.5, 2}, RealCase{"-.5e1", ScanStatus::ok, -5.0, 5},
        RealCase{"1.5e-3 ", ScanStatus::ok, 1.5e-3, 6}, RealCase{"2E+2", ScanStatus::ok, 200.0, 4},
        RealCase{"-0.000000e+00", ScanStatus::ok, -0.0, 13},
        RealCase{"1234567.7654321e+007", ScanStatus::ok, 1234567.7654321e7, 20},
        RealCase{"12.5E-0003,", ScanStatus::ok, 0.0125, 10},
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

// Plain decimals are read without from_chars; they must give its value bit for bit
// and stop where it stops, over digit counts, exponents and spellings that cross
// the limits of that shortcut (19 digits, 2^53, powers of ten up to 22).
TEST(ScanDouble, AgreesWithFromCharsBitForBit) {
    std::mt19937_64 random(20240611);
    const std::array<const char*, 6> formats{"%.*e", "%.*E", "%.*f", "%.*g", "%+.*e", "%.*e,"};
    int checked = 0;
    for (int k = 0; k < 200000; ++k) {
        const double mantissa = std::uniform_real_distribution<double>(-10, 10)(random);
        const int exponent = std::uniform_int_distribution<int>(-30, 30)(random);
        const int precision = std::uniform_int_distribution<int>(0, 21)(random);
        const char* format = formats[static_cast<std::size_t>(k) % formats.size()];
        std::array<char, 128> text{};
        const int length = std::snprintf(text.data(), text.size(), format, precision,
                                         std::ldexp(mantissa, exponent * 3));
        if (length <= 0 || length >= static_cast<int>(text.size()) - 40) continue;
        const char* first = text.data();
        double expected = 0;
        const char* start = *first == '+' ? first + 1 : first;
        const auto [end, error] = std::from_chars(start, first + length, expected);
        ASSERT_EQ(error, std::errc{}) << text.data();
        std::fill(text.begin() + length, text.end(), ' ');
        for (const char* last : {first + length, first + length + 40}) {
            const ScanResult<double> ours = scanDouble(first, last);
            ASSERT_EQ(ours.status, ScanStatus::ok) << text.data();
            ASSERT_EQ(std::bit_cast<std::uint64_t>(ours.value),
                      std::bit_cast<std::uint64_t>(expected))
                << text.data();
            ASSERT_EQ(ours.end, end) << text.data();
        }
        ++checked;
    }
    EXPECT_GT(checked, 190000);
}

// Runs of zeros move the decimal point further than the shortcut's limits; the
// exponent written after them must be offset by every one of them.
TEST(ScanDouble, AgreesWithFromCharsAfterLongRunsOfZeros) {
    for (const std::size_t zeros : {21u, 999u, 1000u, 1001u, 4000u}) {
        const std::string run(zeros, '0');
        for (const std::string exponent : {"0", "22", "999", "1000", "1001", "4005"}) {
            for (const std::string& text :
                 {"0." + run + "5e" + exponent, "-." + run + "5E+" + exponent,
                  "5" + run + "e-" + exponent, run + ".5e" + exponent + ","}) {
                const char* first = text.data();
                const char* last = first + text.size();
                const ScanResult<double> ours = scanDouble(first, last);
                double expected = 0;
                const auto [end, error] = std::from_chars(first, last, expected);
                if (error != std::errc{}) continue;  // out of range: refused, not misread
                ASSERT_EQ(ours.status, ScanStatus::ok) << zeros << " zeros, " << text.substr(0, 8);
                EXPECT_EQ(std::bit_cast<std::uint64_t>(ours.value),
                          std::bit_cast<std::uint64_t>(expected))
                    << zeros << " zeros, e" << exponent << ", " << text.substr(0, 8);
                EXPECT_EQ(ours.end, end) << zeros << " zeros, " << text.substr(0, 8);
            }
        }
    }
}

// Digits are told from other bytes eight at a time, with borrows and carries
// between the bytes of a word: every byte value must end a number where it stands.
TEST(ScanDouble, EndsANumberAtEveryByteThatCannotContinueIt) {
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        if (std::string_view("0123456789.eE").find(c) != std::string_view::npos) continue;
        for (const std::string number : {"1234567", "12.5", "-3.25e+1", "1.5e-3"}) {
            const std::string text = withRoomAfter(number + c + "9");
            const ScanResult<double> ours = scanDouble(text.data(), text.data() + text.size());
            double expected = 0;
            std::from_chars(number.data(), number.data() + number.size(), expected);
            ASSERT_EQ(ours.status, ScanStatus::ok) << number << " then byte " << byte;
            EXPECT_EQ(ours.value, expected) << number << " then byte " << byte;
            EXPECT_EQ(ours.end, text.data() + number.size()) << number << " then byte " << byte;
        }
        const std::string index = withRoomAfter(std::string("-4711") + c + "9");
        const ScanResult<std::int32_t> ours = scanInt32(index.data(), index.data() + index.size());
        EXPECT_EQ(ours.value, -4711) << "byte " << byte;
        EXPECT_EQ(ours.end, index.data() + 5) << "byte " << byte;
    }
}

TEST(ScanInt32, TakesSignsAndRefusesWhatDoesNotFit) {
    const auto scan = [](const std::string& text) {
        const std::string roomy = withRoomAfter(text);
        const ScanResult<std::int32_t> result = scanInt32(text.data(), text.data() + text.size());
        const ScanResult<std::int32_t> fromWords =
            scanInt32(roomy.data(), roomy.data() + roomy.size());
        EXPECT_EQ(result.status, fromWords.status) << text;
        if (result.status == ScanStatus::ok) {
            EXPECT_EQ(result.value, fromWords.value) << text;
            EXPECT_EQ(result.end - text.data(), fromWords.end - roomy.data()) << text;
        }
        return result;
    };
    EXPECT_EQ(scan("0012345").value, 12345);
    EXPECT_EQ(scan("-7654321").value, -7654321);
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
