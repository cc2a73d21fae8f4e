#pragma once

#include <iosfwd>

namespace corvelt {

struct ShellModel;

// One item a line: counts, bounding box, mean edge length and, for each stress
// component, its range over all elements, corners and both surfaces.
void writeModelInfo(std::ostream& out, const ShellModel& model);

}  // namespace corvelt
