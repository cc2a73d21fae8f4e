#include "app/AddedMenuItems.h"

#include <algorithm>
#include <array>

#include "app/CommandId.h"

namespace corvelt {

namespace {

// What the contour shows: the derived quantities, the face of the shell and the
// legend; a way back to turning, and the keys of the view shown with their letters;
// undo and redo.
constexpr std::array items{
    AddedMenuItem{"&Contour", "P1", contourP1Command, 0, "", "", 1},
    AddedMenuItem{"&Contour", "P2", 40061, 0, "", "", 1},
    AddedMenuItem{"&Contour", "P3", 40062, 0, "", "", 1},
    AddedMenuItem{"&Contour", "Stress Intensity", contourIntensityCommand, 0, "", "", 1},
    AddedMenuItem{"&Contour", "&Facing Surface", facingSurfaceCommand, 0, "", "", 2},
    AddedMenuItem{"&Contour", "Surface &1", 40051, 0, "", "", 2},
    AddedMenuItem{"&Contour", "Surface &2", 40052, 0, "", "", 2},
    AddedMenuItem{"&Contour", "&Membrane", 40053, 0, "", "", 2},
    AddedMenuItem{"&Contour", "&Bending", 40054, 0, "", "", 2},
    AddedMenuItem{"&Contour", "&Envelope", envelopeCommand, 0, "", "", 2},
    AddedMenuItem{"&Contour", "&Legend...", legendCommand, 0, "", "", 3},
    AddedMenuItem{"&View", "Turn Mode", turnModeCommand, 0, "Ctrl+T"},
    AddedMenuItem{"&View", "Fit All", 0, U'A', "A"},
    AddedMenuItem{"&View", "Stored View", 0, U'O', "O"},
    AddedMenuItem{"&View", "Pan Mode", 0, U'P', "P"},
    AddedMenuItem{"&View", "Zoom Box", 0, U'Z', "Z"},
    AddedMenuItem{"&Edit", "Undo", undoCommand, 0, "Ctrl+Z"},
    AddedMenuItem{"&Edit", "Redo", redoCommand, 0, "Ctrl+Shift+Z", "Ctrl+Y"},
};

}  // namespace

std::span<const AddedMenuItem> addedMenuItems() {
    return items;
}

bool isAddedMenuCommand(int id) {
    return id != 0 && std::any_of(items.begin(), items.end(),
                                  [id](const AddedMenuItem& item) { return item.commandId == id; });
}

}  // namespace corvelt
