#pragma once

#include <functional>
#include <stdexcept>

namespace corvelt {

// Told the fraction of the file read so far (0 to 1), always from the thread that
// called the reader, never from its helper threads. Returning false asks the
// reader to stop: it then throws ReadCancelled and returns nothing.
using ReadProgress = std::function<bool(double fraction)>;

// A read that its progress callback stopped. Not a fault of the file.
class ReadCancelled : public std::runtime_error {
  public:
    ReadCancelled() : std::runtime_error("the read was cancelled") {}
};

}  // namespace corvelt
