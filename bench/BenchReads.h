#pragma once

// What the reader benches share: a checksum that keeps a read model alive to the
// compiler and tells two readers' models apart, and the best time of a few reads.

#include <functional>

#include "BenchTiming.h"
#include "model/ShellModel.h"

namespace corvelt::bench {

inline double checksum(const ResultData& data) {
    double sum = 0;
    for (const auto& p : data.nodes)
        sum += p.x + 2 * p.y + 3 * p.z;
    for (auto index : data.connectivity)
        sum += index;
    for (const auto& block : data.elementStresses)
        for (const auto& surface : block.surfaces)
            for (const auto& corner : surface)
                for (double v : corner)
                    sum += v;
    return sum;
}

// The run with the best wall time of `runs` reads; `sum` is the checksum of the last.
inline Timing bestReadTime(int runs, const std::function<ResultData()>& read, double& sum) {
    return bestTime(runs, read, [&](const ResultData& data) { sum = checksum(data); });
}

}  // namespace corvelt::bench
