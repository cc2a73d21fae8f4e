#pragma once

#include <array>
#include <string_view>

#include "model/StressComponent.h"

namespace corvelt {

// What the contour can plot: the seven stored components (StressComponent, 0 .. 6),
// then quantities derived from a corner's stress tensor.
enum DerivedQuantity : int {
    P1 = 7,  // principal stresses, P1 >= P2 >= P3
    P2 = 8,
    P3 = 9,
    stressIntensity = 10,  // P1 - P3: twice the largest shear stress
};

inline constexpr int stressQuantityCount = 11;

// The names that scripts and the state use.
inline constexpr std::array<std::string_view, stressQuantityCount> stressQuantityNames{
    "Sx", "Sy", "Sz", "Txy", "Txz", "Tyz", "Se", "P1", "P2", "P3", "SINT"};

// The names the menu and the legend's title show.
inline constexpr std::array<std::string_view, stressQuantityCount> stressQuantityTitles{
    "Sx", "Sy", "Sz", "Txy", "Txz", "Tyz", "Se", "P1", "P2", "P3", "Stress Intensity"};

constexpr bool isStressQuantity(int index) {
    return index >= 0 && index < stressQuantityCount;
}

constexpr bool isDerivedQuantity(int index) {
    return index >= P1 && index < stressQuantityCount;
}

}  // namespace corvelt
