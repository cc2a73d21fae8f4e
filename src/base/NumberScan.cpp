#include "base/NumberScan.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace corvelt {

namespace {

using scan_detail::isDigit;

// from_chars takes no '+' sign; skip one, but never in front of another sign
// ("+-5" is not a number).
const char* skipPlusSign(const char* first, const char* last) {
    if (first != last && *first == '+') {
        ++first;
        if (first != last && (*first == '+' || *first == '-')) return nullptr;
    }
    return first;
}

// Reads a decimal exponent ("e-400") at p, if there is one, saturated far beyond
// the length of any text, so that adding a count of digits never flips its sign.
long long exponentAt(const char* p, const char* last) {
    if (p == last || (*p != 'e' && *p != 'E')) return 0;
    ++p;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) negative = (*p++ == '-');
    long long exponent = 0;
    for (; p != last && isDigit(*p); ++p)
        if (exponent < 100'000'000'000'000'000) exponent = exponent * 10 + (*p - '0');
    return negative ? -exponent : exponent;
}

// True when a decimal text that from_chars found out of range is too small rather
// than too large: the decimal exponent of its leading significant digit is negative.
bool isTooSmall(const char* p, const char* last) {
    if (p != last && *p == '-') ++p;
    long long leadingExponent = 0;
    bool significant = false;
    for (; p != last && isDigit(*p); ++p) {
        if (significant)
            ++leadingExponent;
        else
            significant = (*p != '0');
    }
    if (p != last && *p == '.') {
        for (++p; p != last && isDigit(*p); ++p) {
            if (significant) continue;
            --leadingExponent;
            significant = (*p != '0');
        }
    }
    return !significant || leadingExponent + exponentAt(p, last) < 0;
}

// Reads the common plain decimal form ("-1.234567e+02") without from_chars: at most
// 19 significant digits and a decimal exponent of at most 22 either way, with a
// mantissa below 2^53. Both the mantissa and the power of ten are then exact, so
// one multiplication or division rounds correctly (Clinger's fast path) and the
// result equals from_chars'. Anything else (more digits, large exponents, inf,
// nan, no digits) is left to from_chars.
bool scanPlainDecimal(const char* p, const char* last, ScanResult<double>& result) {
    constexpr std::ptrdiff_t maxDigits = 19;
    const bool negative = p != last && *p == '-';
    if (negative) ++p;
    const char* const numberStart = p;
    while (p != last && *p == '0')
        ++p;                     // leading zeros are no significant digits
    std::uint64_t mantissa = 0;  // wraps harmlessly when there are too many digits
    const char* const integerDigits = p;
    for (; p != last && isDigit(*p); ++p)
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
    std::ptrdiff_t significantDigits = p - integerDigits;
    std::int64_t exponent = 0;  // no text is long enough to overflow it
    bool anyDigit = p != numberStart;
    if (p != last && *p == '.') {
        const char* const fraction = ++p;
        if (significantDigits == 0)
            while (p != last && *p == '0')
                ++p;
        const char* const significantFraction = p;
        for (; p != last && isDigit(*p); ++p)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        significantDigits += p - significantFraction;
        exponent = -(p - fraction);
        anyDigit = anyDigit || p != fraction;
    }
    if (!anyDigit || significantDigits > maxDigits) return false;

    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        const bool negativeExponent = q != last && *q == '-';
        if (q != last && (*q == '+' || *q == '-')) ++q;
        if (q != last && isDigit(*q)) {  // an 'e' without digits is not part of the number
            int written = 0;
            for (; q != last && isDigit(*q); ++q) {
                if (written > 1000) return false;
                written = written * 10 + (*q - '0');
            }
            exponent += negativeExponent ? -written : written;
            p = q;
        }
    }
    if (mantissa > (std::uint64_t{1} << 53)) return false;
    double value = static_cast<double>(mantissa);
    if (mantissa != 0) {
        if (exponent < -22 || exponent > 22) return false;
        value = exponent < 0 ? value / scan_detail::powersOfTen[-exponent]
                             : value * scan_detail::powersOfTen[exponent];
    }
    result = {negative ? -value : value, p, ScanStatus::ok};
    return true;
}

}  // namespace

ScanResult<double> scanDoubleOfAnySpelling(const char* first, const char* last) {
    ScanResult<double> result;
    const char* start = skipPlusSign(first, last);
    if (start == nullptr) return result;
    if (scanPlainDecimal(start, last, result)) return result;
    const auto [end, error] = std::from_chars(start, last, result.value);
    if (error == std::errc::invalid_argument) return result;
    result.end = end;
    if (error == std::errc::result_out_of_range) {
        if (!isTooSmall(start, end)) {
            result.status = ScanStatus::outOfRange;
            return result;
        }
        result.value = (*start == '-') ? -0.0 : 0.0;
    } else if (!std::isfinite(result.value)) {
        result.status = ScanStatus::notFinite;
        return result;
    }
    result.status = ScanStatus::ok;
    return result;
}

ScanResult<std::int32_t> scanInt32OfAnySpelling(const char* first, const char* last) {
    ScanResult<std::int32_t> result;
    const char* start = skipPlusSign(first, last);
    if (start == nullptr) return result;
    const auto [end, error] = std::from_chars(start, last, result.value);
    if (error == std::errc::invalid_argument) return result;
    result.end = end;
    result.status =
        (error == std::errc::result_out_of_range) ? ScanStatus::outOfRange : ScanStatus::ok;
    return result;
}

}  // namespace corvelt
