#include "model/NumberScan.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace corvelt {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// from_chars takes no '+' sign; skip one, but never in front of another sign
// ("+-5" is not a number).
const char* skipPlusSign(const char* first, const char* last) {
    if (first != last && *first == '+') {
        ++first;
        if (first != last && (*first == '+' || *first == '-')) return nullptr;
    }
    return first;
}

// Reads a saturated decimal exponent ("e-400") at p, if there is one.
long long exponentAt(const char* p, const char* last) {
    if (p == last || (*p != 'e' && *p != 'E')) return 0;
    ++p;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) negative = (*p++ == '-');
    long long exponent = 0;
    for (; p != last && isDigit(*p); ++p)
        if (exponent < 1'000'000'000) exponent = exponent * 10 + (*p - '0');
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

}  // namespace

ScanResult<double> scanDouble(const char* first, const char* last) {
    ScanResult<double> result;
    const char* start = skipPlusSign(first, last);
    if (start == nullptr) return result;
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

ScanResult<std::int32_t> scanInt32(const char* first, const char* last) {
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
