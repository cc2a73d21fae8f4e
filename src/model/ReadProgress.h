#pragma once

#include <functional>

namespace corvelt {

// Told the fraction of the file read so far (0 to 1), always from the thread that
// called the reader, never from its helper threads.
using ReadProgress = std::function<void(double fraction)>;

}  // namespace corvelt
