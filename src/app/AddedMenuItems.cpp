#include "app/AddedMenuItems.h"

#include <algorithm>
#include <array>

#include "app/CommandId.h"

namespace corvelt {

namespace {

// A way back to turning, and the keys of the view shown with their letters.
constexpr std::array items{
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
