#pragma once

#include <stdexcept>
#include <string_view>

#include "render/LegendOptions.h"

namespace corvelt {

// A legend option that cannot be taken; what() says why, for the user.
class LegendValueError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What the user types for the legend's options, in its dialog or a script, read
// without regard to the desktop's locale. Blanks around a text are ignored. Each
// throws LegendValueError.
int readBandCount(std::string_view text);                   // 2 .. 24
double readBound(std::string_view text, std::string_view name);  // finite
int readDigits(std::string_view text);                      // 0 .. 10
void checkFixedRange(double minimum, double maximum);       // minimum < maximum

}  // namespace corvelt
