#pragma once

#include <cstddef>
#include <string>

namespace corvelt {

// Number formatting that never depends on the process locale (the desktop may use
// a decimal comma; our texts always use a full stop).

// The shortest text that reads back as the same double.
std::string formatShortest(double value);

// As printf's "%.<precision>g" in the C locale.
std::string formatGeneral(double value, int precision = 6);

// As printf's "%.<decimals>f" and "%.<digits>e" in the C locale.
std::string formatFixed(double value, int decimals);
std::string formatScientific(double value, int digits);

// The longest text of writeGeneral6: "-1.23457e-308".
inline constexpr std::size_t general6MaxLength = 13;

// formatGeneral(value, 6) written at `out`, which has room for general6MaxLength
// bytes (the bytes after the text may be overwritten too); returns the end. Several times faster than the general to_chars for the
// magnitudes of real results, for listings of millions of numbers.
char* writeGeneral6(char* out, double value);

// The longest text of writeShortest: "-2.2250738585072014e-308".
inline constexpr std::size_t shortestMaxLength = 24;

// formatShortest(value) written at `out`, which has room for shortestMaxLength
// bytes; returns the end. About twice as fast as the standard to_chars for tables
// of millions of numbers.
char* writeShortest(char* out, double value);

}  // namespace corvelt
