#pragma once

#include <string>

namespace corvelt {

// Number formatting that never depends on the process locale (the desktop may use
// a decimal comma; our texts always use a full stop).

// The shortest text that reads back as the same double.
std::string formatShortest(double value);

// As printf's "%.<precision>g" in the C locale.
std::string formatGeneral(double value, int precision = 6);

}  // namespace corvelt
