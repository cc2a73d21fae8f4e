#pragma once

#include <array>
#include <string_view>

namespace corvelt {

// Index of a stress component: the order of the seven values in every stress line,
// record and report column.
enum StressComponent : int { Sx = 0, Sy = 1, Sz = 2, Txy = 3, Txz = 4, Tyz = 5, Se = 6 };

inline constexpr int stressComponentCount = 7;
inline constexpr std::array<std::string_view, stressComponentCount> stressComponentNames{
    "Sx", "Sy", "Sz", "Txy", "Txz", "Tyz", "Se"};

constexpr bool isStressComponent(int index) {
    return index >= 0 && index < stressComponentCount;
}

}  // namespace corvelt
