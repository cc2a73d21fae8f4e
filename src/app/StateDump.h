#pragma once

#include <iosfwd>

namespace corvelt {

class Application;
struct ProbeAtPixel;

// Writes the application's state as one JSON document: the state record, the
// camera with its view matrix, the checked menu items and the model's counts,
// plot options and selection, and a probe when one is given. docs/BATCH.md
// describes every key. Doubles are written so that they read back to the same value.
void writeStateJson(std::ostream& out, const Application& app, const ProbeAtPixel* probe = nullptr);

}  // namespace corvelt
