#pragma once

#include <stdexcept>

namespace corvelt {

// An export that could not be written. what() is the whole message for the user:
// the headline, then the path and the reason.
class ExportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace corvelt
