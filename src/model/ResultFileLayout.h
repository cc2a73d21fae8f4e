#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/ShellModel.h"
#include "model/StressComponent.h"

namespace corvelt {

// Where each number of a result file's body (everything after the two count lines)
// belongs. The body is a flat sequence of numbers: three coordinates per node, then
// per element its four corner indices followed, corner by corner, by a line of
// seven stresses for each of the two surfaces.
inline constexpr int tokensPerNode = 3;
inline constexpr int tokensPerElementLine = stressComponentCount;
inline constexpr int tokensPerElement =
    ShellModel::nodesPerElement * (1 + 2 * tokensPerElementLine);

// What one number of an element record is and where it is stored.
struct ElementField {
    bool isCornerIndex = false;  // one of the four node indices, else a stress
    bool endsLine = false;       // the last number of its line (white space follows)
    std::uint8_t surface = 0;
    std::uint8_t corner = 0;
    std::uint8_t component = 0;  // a StressComponent, or the corner for an index
};

constexpr std::array<ElementField, tokensPerElement> makeElementFields() {
    std::array<ElementField, tokensPerElement> fields{};
    int f = 0;
    for (int corner = 0; corner < ShellModel::nodesPerElement; ++corner, ++f)
        fields[f] = {true, corner == ShellModel::nodesPerElement - 1, 0,
                     static_cast<std::uint8_t>(corner), static_cast<std::uint8_t>(corner)};
    for (int corner = 0; corner < ShellModel::nodesPerElement; ++corner)
        for (int surface = 0; surface < 2; ++surface)
            for (int component = 0; component < tokensPerElementLine; ++component, ++f)
                fields[f] = {false, component == tokensPerElementLine - 1,
                             static_cast<std::uint8_t>(surface), static_cast<std::uint8_t>(corner),
                             static_cast<std::uint8_t>(component)};
    return fields;
}

inline constexpr std::array<ElementField, tokensPerElement> elementFields = makeElementFields();

// The sizes of one file's body.
struct ResultFileLayout {
    std::int64_t nodeCount = 0;
    std::int64_t elementCount = 0;

    std::int64_t nodeTokenCount() const { return nodeCount * tokensPerNode; }
    std::int64_t tokenCount() const { return nodeTokenCount() + elementCount * tokensPerElement; }

    bool isCornerIndex(std::int64_t index) const {
        return index >= nodeTokenCount() &&
               elementFields[static_cast<std::size_t>((index - nodeTokenCount()) %
                                                      tokensPerElement)]
                   .isCornerIndex;
    }

    // What token `index` of the body is, for messages: "y of node 3",
    // "corner 2 of element 0", "Txy of element 5, corner 1, second stress line".
    std::string describeToken(std::int64_t index) const;
};

// The fewest bytes that can hold so many rows: every number at least one digit,
// every row preceded by at least one byte of white space.
constexpr std::int64_t minimumNodeBytes = 6;       // "\n0,0,0"
constexpr std::int64_t minimumElementBytes = 120;  // "\n0,0,0,0" and eight "\n0,0,0,0,0,0,0"

}  // namespace corvelt
