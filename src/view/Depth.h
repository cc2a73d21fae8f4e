#pragma once

#include <cstdint>

namespace corvelt {

struct ShellModel;
struct ViewCamera;

// Depth keys: minus the view-space depth, so a larger key is farther from the
// viewer. The painter draws larger keys first; picking prefers smaller ones.

double nodeDepth(const ShellModel& model, const ViewCamera& camera, std::int32_t node);

// Key of the average of the element's corners.
double elementDepth(const ShellModel& model, const ViewCamera& camera, std::int32_t element);

}  // namespace corvelt
