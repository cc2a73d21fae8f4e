#pragma once

// Models for the export tests: values of every magnitude and sign, shared nodes,
// and a selection with gaps.

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "model/ShellModel.h"
#include "view/TestMeshes.h"

namespace corvelt::testing {

// A finite double of any magnitude, subnormals and signed zeros included: what a
// writer that loses a digit or a sign would get wrong.
inline double anyDouble(std::mt19937_64& random) {
    for (;;) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value)) return value;
    }
}

// `count` elements on a strip of shared nodes (element e names nodes e .. e + 3 in
// a scrambled order), every coordinate and stress drawn by anyDouble, and every
// third element unselected.
inline ShellModel exportModel(int count, std::uint64_t seed = 1) {
    std::mt19937_64 random(seed);
    MeshBuilder mesh;
    for (int n = 0; n < count + 3; ++n)
        mesh.addNode({anyDouble(random), anyDouble(random), anyDouble(random)});
    for (int e = 0; e < count; ++e)
        mesh.addElement({e + 2, e, e + 3, e + 1});
    ResultData data = mesh.take();
    for (ElementStressBlock& block : data.elementStresses)
        for (auto& surface : block.surfaces)
            for (StressRecord& stress : surface)
                for (double& value : stress)
                    value = anyDouble(random);
    ShellModel model = modelOf(std::move(data));
    for (std::size_t e = 0; e < model.elementSelected.size(); e += 3)
        model.elementSelected[e] = 0;
    return model;
}

// The same doubles, bit for bit (-0 is not 0).
inline bool sameDouble(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

}  // namespace corvelt::testing
