#pragma once

// What the reader fuzzers check of a model a reader accepts, and how they compare
// the arrays of two reads.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/ShellModel.h"

namespace corvelt::fuzz {

template <typename T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// What the painters rely on that the data breaks, or null: every corner a node of
// the model, every coordinate and stress finite.
inline const char* faultOfAccepted(const ResultData& data) {
    if (data.nodes.empty()) return "accepted without nodes";
    if (data.connectivity.size() != data.elementStresses.size() * 4)
        return "connectivity does not match the element count";
    const auto nodeCount = static_cast<std::int64_t>(data.nodes.size());
    for (const std::int32_t node : data.connectivity)
        if (node < 0 || node >= nodeCount) return "a corner names no node";
    for (const Point3D& p : data.nodes)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return "a coordinate is not finite";
    for (const ElementStressBlock& block : data.elementStresses)
        for (const auto& surface : block.surfaces)
            for (const auto& corner : surface)
                if (!std::all_of(corner.begin(), corner.end(),
                                 [](double v) { return std::isfinite(v); }))
                    return "a stress is not finite";
    return nullptr;
}

}  // namespace corvelt::fuzz
