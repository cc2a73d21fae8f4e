#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace corvelt {

// Why a number could not be read.
enum class ScanStatus { ok, notANumber, notFinite, outOfRange };

template <typename Value>
struct ScanResult {
    Value value{};
    const char* end = nullptr;  // first byte after the number (valid when ok)
    ScanStatus status = ScanStatus::notANumber;
};

// Reads one decimal number at first (no leading white space), locale-free: an
// optional + or - sign, digits with an optional full stop ("1." and ".5" too) and
// an optional exponent. Stops at the first byte that cannot continue the number;
// the caller decides whether that byte may follow. A double that is not finite
// (inf, nan) or too large for a double is refused; one too small for a double
// reads as zero of its sign. Hexadecimal numbers are not decimal and read only
// their leading "0". The value is always the correctly rounded one, the same as
// std::from_chars gives.
inline ScanResult<double> scanDouble(const char* first, const char* last);

// The same for a decimal integer that must fit 32 bits.
inline ScanResult<std::int32_t> scanInt32(const char* first, const char* last);

// Every spelling, out of line; the two above read the common short spellings
// themselves and hand the others to these.
ScanResult<double> scanDoubleOfAnySpelling(const char* first, const char* last);
ScanResult<std::int32_t> scanInt32OfAnySpelling(const char* first, const char* last);

namespace scan_detail {

// Where at least this many bytes can be read from a number's start, its digits are
// taken eight at a time from whole 64-bit words.
inline constexpr std::ptrdiff_t wordScanBytes = 32;

inline bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// The bytes at p less '0' each, the first byte lowest: digits become 0 .. 9.
inline std::uint64_t digitValues(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word - 0x3030303030303030;
}
inline std::uint32_t digitValues4(const char* p) {
    std::uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word - 0x30303030;
}

// How many of the bytes behind digitValues are digits before the first that is
// not. Borrows and carries run from a byte to the ones after it, so they never
// hide the first byte that is no digit.
inline int leadingDigits(std::uint64_t values) {
    const std::uint64_t notDigits = (values | (values + 0x7676767676767676)) & 0x8080808080808080;
    return notDigits == 0 ? 8 : std::countr_zero(notDigits) / 8;
}
inline int leadingDigits4(std::uint32_t values) {
    const std::uint32_t notDigits = (values | (values + 0x76767676)) & 0x80808080;
    return notDigits == 0 ? 4 : std::countr_zero(notDigits) / 8;
}

// The number that the first `count` (1 .. 8) digit values spell: they are moved to
// the top, behind zeros, and combined in pairs, fours and eights.
inline std::uint64_t digitsValue(std::uint64_t values, int count) {
    std::uint64_t v = values << (8 * (8 - count));
    v = v * 10 + (v >> 8);
    return (((v & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
            (((v >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
           32;
}
// The same for one to four digits.
inline std::uint32_t digitsValue4(std::uint32_t values, int count) {
    std::uint32_t v = values << (8 * (4 - count));
    v = v * 10 + (v >> 8);
    return (v & 0xFF) * 100 + ((v >> 16) & 0xFF);
}

inline constexpr std::array<std::uint64_t, 8> wholePowersOfTen{
    1, 10, 100, 1000, 10'000, 100'000, 1'000'000, 10'000'000};
inline constexpr std::array<double, 23> powersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Reads the short plain spelling that result files are written in, such as
// "-1.234567e+02": one to seven digits, optionally a full stop and up to seven
// more, optionally an exponent of up to three digits. The mantissa then stays
// below 2^53 and, for exponents within 22 either way, both it and the power of
// ten are exact, so one multiplication or division rounds correctly (Clinger's
// fast path). False for anything else.
[[gnu::always_inline]] inline bool scanShortDecimal(const char* first, const char* last,
                                                    ScanResult<double>& result) {
    if (std::endian::native != std::endian::little || last - first < wordScanBytes) return false;
    const char* p = first;
    const bool negative = *p == '-';
    p += (*p == '-' || *p == '+');
    const std::uint64_t integerValues = digitValues(p);
    const int integerDigits = leadingDigits(integerValues);
    if (integerDigits == 0 || integerDigits == 8) return false;
    p += integerDigits;
    std::uint64_t mantissa = 0;
    int exponent = 0;
    if (*p == '.') {
        const std::uint64_t fractionValues = digitValues(p + 1);
        const int fractionDigits = leadingDigits(fractionValues);
        if (fractionDigits == 8) return false;
        if (integerDigits + fractionDigits <= 8) {
            // Both sides of the full stop in one word, the fraction after the integer.
            const std::uint64_t joined = (integerValues & (~0ULL >> (64 - 8 * integerDigits))) |
                                         (fractionValues << (8 * integerDigits));
            mantissa = digitsValue(joined, integerDigits + fractionDigits);
        } else {
            mantissa =
                digitsValue(integerValues, integerDigits) * wholePowersOfTen[fractionDigits] +
                digitsValue(fractionValues, fractionDigits);
        }
        p += 1 + fractionDigits;
        exponent = -fractionDigits;
    } else {
        mantissa = digitsValue(integerValues, integerDigits);
    }
    if ((*p | 0x20) == 'e') {
        const char* q = p + 1;
        const bool negativeExponent = *q == '-';
        q += (*q == '-' || *q == '+');
        const std::uint32_t exponentValues = digitValues4(q);
        const int exponentDigits = leadingDigits4(exponentValues);
        if (exponentDigits > 3) return false;
        if (exponentDigits > 0) {  // an 'e' without digits is not part of the number
            const auto written = static_cast<int>(digitsValue4(exponentValues, exponentDigits));
            exponent += negativeExponent ? -written : written;
            p = q + exponentDigits;
        }
    }
    if (exponent < -22 || exponent > 22) return false;
    // Signs of numbers and of exponents follow no pattern that a branch predictor
    // could learn, so both are applied without branches.
    const double whole = static_cast<double>(mantissa);
    const double scale = powersOfTen[static_cast<std::size_t>(exponent < 0 ? -exponent : exponent)];
    const auto divided = std::bit_cast<std::uint64_t>(whole / scale);
    const auto multiplied = std::bit_cast<std::uint64_t>(whole * scale);
    const std::uint64_t takeDivided = -static_cast<std::uint64_t>(exponent < 0);
    const std::uint64_t magnitude = (divided & takeDivided) | (multiplied & ~takeDivided);
    const auto signBit = static_cast<std::uint64_t>(negative) << 63;
    result = {std::bit_cast<double>(magnitude | signBit), p, ScanStatus::ok};
    return true;
}

// Reads an integer of one to seven digits with an optional sign, which always fits
// 32 bits. False for anything else.
[[gnu::always_inline]] inline bool scanShortInteger(const char* first, const char* last,
                                                    ScanResult<std::int32_t>& result) {
    if (std::endian::native != std::endian::little || last - first < wordScanBytes) return false;
    const char* p = first;
    const bool negative = *p == '-';
    p += (*p == '-' || *p == '+');
    const std::uint64_t values = digitValues(p);
    const int digits = leadingDigits(values);
    if (digits == 0 || digits == 8) return false;
    const auto value = static_cast<std::int32_t>(digitsValue(values, digits));
    const std::int32_t sign = -static_cast<std::int32_t>(negative);  // 0 or all ones
    result = {(value ^ sign) - sign, p + digits, ScanStatus::ok};
    return true;
}

}  // namespace scan_detail

inline ScanResult<double> scanDouble(const char* first, const char* last) {
    ScanResult<double> result;
    if (scan_detail::scanShortDecimal(first, last, result)) return result;
    return scanDoubleOfAnySpelling(first, last);
}

inline ScanResult<std::int32_t> scanInt32(const char* first, const char* last) {
    ScanResult<std::int32_t> result;
    if (scan_detail::scanShortInteger(first, last, result)) return result;
    return scanInt32OfAnySpelling(first, last);
}

}  // namespace corvelt
