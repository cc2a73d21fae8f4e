#include "base/NumberFormat.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <fmt/format.h>

namespace corvelt {

namespace {

// The powers of ten that a double holds exactly.
constexpr std::array<double, 23> exactPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Six significant digits and the decimal exponent of the first, in the general
// format of printf: fixed notation for exponents -4 .. 5, else scientific;
// trailing zeros and a bare full stop dropped. The text is put together with
// copies of a fixed size in a scratch buffer; all general6MaxLength bytes of `out`
// are written.
char* writeDigits(char* out, bool negative, std::uint32_t digits, int exponent) {
    char d[14] = {};
    for (int i = 5; i >= 0; --i, digits /= 10)
        d[i] = static_cast<char>('0' + digits % 10);
    int last = 5;  // the last digit to write
    while (last > 0 && d[last] == '0')
        --last;

    char text[32];
    char* p = text;
    if (negative) *p++ = '-';
    const auto put = [&p, &d](int first, int count) {
        std::memcpy(p, d + first, 8);
        p += count;
    };
    if (exponent < -4 || exponent > 5) {
        *p++ = d[0];
        if (last > 0) {
            *p++ = '.';
            put(1, last);
        }
        *p++ = 'e';
        *p++ = exponent < 0 ? '-' : '+';
        int magnitude = std::abs(exponent);
        if (magnitude >= 100) {
            *p++ = static_cast<char>('0' + magnitude / 100);
            magnitude %= 100;
        }
        *p++ = static_cast<char>('0' + magnitude / 10);
        *p++ = static_cast<char>('0' + magnitude % 10);
    } else if (exponent >= 0) {
        put(0, exponent + 1);
        if (last > exponent) {
            *p++ = '.';
            put(exponent + 1, last - exponent);
        }
    } else {
        static constexpr char zeros[8] = {'0', '.', '0', '0', '0', '0', '0', '0'};
        std::memcpy(p, zeros, 8);
        p += 1 - exponent;  // "0." and the zeros before the first digit
        put(0, last + 1);
    }
    std::memcpy(out, text, general6MaxLength);
    return out + (p - text);
}

char* writeGeneral6Exactly(char* out, double value) {
    return std::to_chars(out, out + general6MaxLength, value, std::chars_format::general, 6).ptr;
}

}  // namespace

std::string formatShortest(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

std::string formatGeneral(double value, int precision) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, precision);
    return {buffer.data(), result.ptr};
}

namespace {

std::string formatWith(double value, std::chars_format format, int precision) {
    // Room for the 309 digits of the largest double before the point and the decimals.
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    return {buffer.data(), result.ptr};
}

}  // namespace

std::string formatFixed(double value, int decimals) {
    return formatWith(value, std::chars_format::fixed, decimals);
}

std::string formatScientific(double value, int digits) {
    return formatWith(value, std::chars_format::scientific, digits);
}

// The value scaled by an exact power of ten into [1e5, 1e6) is one correctly rounded
// operation away from the exact product, so rounding it to an integer gives the six
// digits printf gives, unless it lies too near a half to tell; such values, and
// magnitudes beyond the exact powers, take the general to_chars.
char* writeGeneral6(char* out, double value) {
    if (value == 0.0) {
        if (std::signbit(value)) *out++ = '-';
        *out++ = '0';
        return out;
    }
    if (!std::isfinite(value)) return writeGeneral6Exactly(out, value);
    const double magnitude = std::fabs(value);
    // floor(log10(magnitude)), or one too small, from the binary exponent: 78913 / 2^18
    // is log10(2) to seven digits.
    const auto binaryExponent =
        static_cast<int>(std::bit_cast<std::uint64_t>(magnitude) >> 52) - 1023;
    int exponent = (binaryExponent * 78913) >> 18;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int scale = 5 - exponent;
        if (scale < -22 || scale > 22) break;
        const double scaled =
            scale >= 0 ? magnitude * exactPowersOfTen[scale] : magnitude / exactPowersOfTen[-scale];
        if (scaled < 1e5) {
            --exponent;
            continue;
        }
        if (scaled >= 1e6) {
            ++exponent;
            continue;
        }
        auto digits = static_cast<std::uint32_t>(scaled);
        const double fraction = scaled - digits;
        if (std::fabs(fraction - 0.5) <= scaled * 0x1p-52) break;
        if (fraction > 0.5) ++digits;
        if (digits == 1000000) {
            digits = 100000;
            ++exponent;
        }
        return writeDigits(out, value < 0, digits, exponent);
    }
    return writeGeneral6Exactly(out, value);
}

namespace {

constexpr char digitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr std::array<std::uint64_t, 20> powersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// The number of decimal digits of a value above 0, from its bit length.
int decimalDigitCount(std::uint64_t value) {
    const int guess = ((64 - std::countl_zero(value)) * 1233) >> 12;  // 1233 / 4096 ~ log10(2)
    return guess + 1 - (value < powersOfTen[static_cast<std::size_t>(guess)] ? 1 : 0);
}

// Eight decimal digits of a value below 10^8 as text, the first in the lowest byte:
// the value is cut into halves, quarters and digits in the lanes of one word.
[[gnu::always_inline]] inline std::uint64_t eightDigits(std::uint32_t value) {
    std::uint64_t lanes = (value / 10000) | (std::uint64_t{value % 10000} << 32);
    std::uint64_t high = ((lanes * 10486) >> 20) & 0x0000007F0000007FULL;  // / 100
    lanes = high | ((lanes - high * 100) << 16);
    high = ((lanes * 103) >> 10) & 0x000F000F000F000FULL;  // / 10
    lanes = high | ((lanes - high * 10) << 8);
    return lanes | 0x3030303030303030ULL;
}

// Room a putDigits call may write at: its digits and whatever follows them.
constexpr std::size_t digitsRoom = 17;

// Writes the `count` digits of `value` (below 10^17) at `at`, followed by up to
// 17 - count bytes that the caller overwrites or leaves past the text's end.
// Values of eight digits or fewer, as numbers read from text mostly are, take one
// word of digits; longer ones two and a leading digit.
[[gnu::always_inline]] inline void putDigits(char* at, std::uint64_t value, int count) {
    // The digits with leading zeros, and room for a copy of 17 from any start.
    char digits[17 + digitsRoom] = {};
    if (count <= 8) {
        const std::uint64_t word = eightDigits(static_cast<std::uint32_t>(value));
        std::memcpy(digits + 9, &word, 8);
    } else {
        const auto low = static_cast<std::uint32_t>(value % 100000000);
        const std::uint64_t high = value / 100000000;
        digits[0] = static_cast<char>('0' + high / 100000000);
        const std::uint64_t middleDigits =
            eightDigits(static_cast<std::uint32_t>(high % 100000000));
        const std::uint64_t lowDigits = eightDigits(low);
        std::memcpy(digits + 1, &middleDigits, 8);
        std::memcpy(digits + 9, &lowDigits, 8);
    }
    std::memcpy(at, digits + 17 - count, digitsRoom);
}

char* putExponent(char* out, int exponent) {
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    int magnitude = std::abs(exponent);
    if (magnitude >= 100) {
        *out++ = static_cast<char>('0' + magnitude / 100);
        magnitude %= 100;
    }
    std::memcpy(out, digitPairs + 2 * magnitude, 2);
    return out + 2;
}

// Integers of this many digits or fewer are exact doubles, and their shortest digits
// are all of their digits; beyond it a whole number in fixed notation is written
// exactly, which the shortest digits do not give.
constexpr int exactIntegerDigits = 15;

}  // namespace

// The shortest digits come from fmt's Dragonbox, which gives the same digits as the
// standard library's Ryu (the fewest that read back, the nearest of those); the
// layout is to_chars': fixed or scientific notation, whichever is shorter, fixed on
// a tie. The digits are written where they belong and moved by single bytes, never
// read back wider than they were written, which would stall the processor.
char* writeShortest(char* out, double value) {
    if (!std::isfinite(value) || value == 0.0)
        return std::to_chars(out, out + shortestMaxLength, value).ptr;
    const auto decimal = fmt::detail::dragonbox::to_decimal(std::fabs(value));
    const int count = decimalDigitCount(decimal.significand);
    const int exponent = decimal.exponent;  // value = digits * 10^exponent
    const int scientificExponent = exponent + count - 1;

    const int scientificLength =
        count + (count > 1 ? 1 : 0) + 2 + (std::abs(scientificExponent) >= 100 ? 3 : 2);
    const int whole = count + exponent;  // digits before the point in fixed notation
    const int fixedLength = exponent >= 0 ? whole : whole > 0 ? count + 1 : 2 - exponent;
    const bool fixed = fixedLength <= scientificLength;
    if (fixed && exponent >= 0 && whole > exactIntegerDigits)
        return std::to_chars(out, out + shortestMaxLength, value).ptr;

    char* p = out;
    if (value < 0) *p++ = '-';
    if (!fixed) {
        putDigits(p + 1, decimal.significand, count);
        p[0] = p[1];
        if (count == 1) return putExponent(p + 1, scientificExponent);
        p[1] = '.';
        return putExponent(p + count + 1, scientificExponent);
    }
    if (exponent >= 0) {
        putDigits(p, decimal.significand, count);
        p += count;
        for (int k = 0; k < exponent; ++k)
            *p++ = '0';
        return p;
    }
    if (whole > 0) {
        putDigits(p + 1, decimal.significand, count);
        for (int k = 0; k < whole; ++k)
            p[k] = p[k + 1];
        p[whole] = '.';
        return p + count + 1;
    }
    // "0.", at most 21 zeros (the fixed form is then no longer than the scientific
    // one) and the digits, which may write past the room of `out`.
    char text[2 + 21 + 1 + digitsRoom];
    char* t = text;
    *t++ = '0';
    *t++ = '.';
    for (int k = 0; k < -whole; ++k)
        *t++ = '0';
    putDigits(t, decimal.significand, count);
    t += count;
    const auto length = static_cast<std::size_t>(t - text);
    std::memcpy(p, text, length);
    return p + length;
}

}  // namespace corvelt
