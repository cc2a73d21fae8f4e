#pragma once

#include <cstdint>

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
ScanResult<double> scanDouble(const char* first, const char* last);

// The same for a decimal integer that must fit 32 bits.
ScanResult<std::int32_t> scanInt32(const char* first, const char* last);

}  // namespace corvelt
