#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvelt {

// An angle in degrees as the View Kit shows it: two decimals and a full stop,
// whatever the desktop's locale ("45.00", "-35.26").
std::string formatAngleText(double degrees);

// The number at the start of a typed text, read the way the C library's atof
// reads it in the "C" locale: leading white space skipped, the longest prefix
// that is a number (decimal or 0x hexadecimal), 0 when the text starts with no
// number; "12abc" gives 12. A number too small for a double is zero of its sign
// ("-1e-400" is -0). A number that is not finite ("inf", "nan", "1e999") gives 0
// as well: it would turn every projected node into NaN.
double parseAngleText(std::string_view text);

// Apply takes this many bytes of a field, as much as a 100-byte buffer holds
// beside its terminating NUL; the rest of a longer text is not read.
inline constexpr std::size_t angleFieldReadLength = 99;

// parseAngleText of the part of the field that Apply reads.
double readAngleField(std::string_view field);

}  // namespace corvelt
