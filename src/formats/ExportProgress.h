#pragma once

#include <functional>
#include <stdexcept>

namespace corvelt {

// Told the fraction of an export written so far (0 to 1), always from the thread
// that called the writer, never from its helper threads. Returning false asks the
// writer to stop: it then throws ExportCancelled and leaves the file as it was.
using ExportProgress = std::function<bool(double fraction)>;

// An export that its progress callback stopped. Not a failure of the file.
class ExportCancelled : public std::runtime_error {
  public:
    ExportCancelled() : std::runtime_error("the export was cancelled") {}
};

}  // namespace corvelt
