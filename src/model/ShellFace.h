#pragma once

#include <array>
#include <string_view>

namespace corvelt {

// Which of a shell's stresses the contour shows at each corner.
enum class ShellFace : int {
    facing = 0,  // per element, the surface that faces the viewer
    surface1,    // the first stress line of every corner
    surface2,    // the second
    membrane,    // the mean of the two surfaces' tensors
    bending,     // half their difference: positive where surface 1 is in tension
    envelope,    // the larger of the quantity's values on the two surfaces
};

inline constexpr int shellFaceCount = 6;

// The names that scripts and the state use.
inline constexpr std::array<std::string_view, shellFaceCount> shellFaceNames{
    "facing", "surface1", "surface2", "membrane", "bending", "envelope"};

// The names the menu and the legend's title show.
inline constexpr std::array<std::string_view, shellFaceCount> shellFaceTitles{
    "Facing Surface", "Surface 1", "Surface 2", "Membrane", "Bending", "Envelope"};

constexpr int faceIndex(ShellFace face) {
    return static_cast<int>(face);
}

constexpr bool isShellFace(int index) {
    return index >= 0 && index < shellFaceCount;
}

}  // namespace corvelt
