// The number scanner of the reader (and of the batch language) against
// std::from_chars, which it promises to equal: the same end, the same bits, and
// from_chars' refusals sorted into its statuses.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include "base/NumberScan.h"

namespace {

using corvelt::ScanStatus;

void require(bool condition, const char* what, const char* first, const char* last) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_number_scan: %s for \"%.*s\"\n", what,
                 static_cast<int>(last - first), first);
    std::abort();
}

// from_chars takes no '+'; the scanner takes one, but not before another sign.
const char* afterPlus(const char* first, const char* last) {
    if (first != last && *first == '+') {
        ++first;
        if (first != last && (*first == '+' || *first == '-')) return nullptr;
    }
    return first;
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Whether a decimal text that from_chars found out of range lies beyond the largest
// double rather than below the smallest: strtod, in the C locale of this process,
// returns an infinity for it.
bool tooLarge(const char* first, const char* last) {
    const std::string text(first, last);
    return std::isinf(std::strtod(text.c_str(), nullptr));
}

void checkDouble(const char* first, const char* last) {
    const corvelt::ScanResult<double> scanned = corvelt::scanDouble(first, last);
    const char* start = afterPlus(first, last);
    if (start == nullptr) {
        require(scanned.status == ScanStatus::notANumber, "a doubled sign is read", first, last);
        return;
    }
    double expected = 0.0;
    const auto [end, error] = std::from_chars(start, last, expected);
    if (error == std::errc::invalid_argument) {
        require(scanned.status == ScanStatus::notANumber, "read what from_chars refuses", first,
                last);
        return;
    }
    require(scanned.status != ScanStatus::notANumber, "refused what from_chars reads", first, last);
    require(scanned.end == end, "stopped elsewhere than from_chars", first, last);
    if (error == std::errc::result_out_of_range) {
        if (tooLarge(start, end)) {
            require(scanned.status == ScanStatus::outOfRange, "a huge number is not refused", first,
                    last);
        } else {
            require(scanned.status == ScanStatus::ok &&
                        sameBits(scanned.value, *start == '-' ? -0.0 : 0.0),
                    "a tiny number is not zero of its sign", first, last);
        }
    } else if (!std::isfinite(expected)) {
        require(scanned.status == ScanStatus::notFinite, "inf or nan is not refused", first, last);
    } else {
        require(scanned.status == ScanStatus::ok && sameBits(scanned.value, expected),
                "a value differs from from_chars", first, last);
    }
}

void checkInt32(const char* first, const char* last) {
    const corvelt::ScanResult<std::int32_t> scanned = corvelt::scanInt32(first, last);
    const char* start = afterPlus(first, last);
    if (start == nullptr) {
        require(scanned.status == ScanStatus::notANumber, "a doubled sign is read", first, last);
        return;
    }
    std::int32_t expected = 0;
    const auto [end, error] = std::from_chars(start, last, expected);
    if (error == std::errc::invalid_argument) {
        require(scanned.status == ScanStatus::notANumber, "read what from_chars refuses", first,
                last);
        return;
    }
    require(scanned.end == end, "stopped elsewhere than from_chars", first, last);
    if (error == std::errc::result_out_of_range)
        require(scanned.status == ScanStatus::outOfRange, "a huge integer is not refused", first,
                last);
    else
        require(scanned.status == ScanStatus::ok && scanned.value == expected,
                "an integer differs from from_chars", first, last);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    // libFuzzer's buffer has exactly the input's size: a read past its end is caught.
    const char* first = reinterpret_cast<const char*>(bytes);
    checkDouble(first, first + size);
    checkInt32(first, first + size);
    return 0;
}
