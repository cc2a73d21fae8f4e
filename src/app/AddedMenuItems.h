#pragma once

#include <span>
#include <string_view>

namespace corvelt {

// An item the window adds at the end of a popup, after the menu table's items: a
// command of the application (an id of CommandId.h) or one of the view's character
// keys, with the shortcut the menu shows beside it. A command's shortcuts are bound
// to it; a key's shortcut is only shown, since the key itself keeps reaching the
// view. Each group of a popup stands below a separator. Scripts run the commands by
// id as they run the table's; the state's list of checked menu items covers the
// table's alone.
struct AddedMenuItem {
    std::string_view popup;  // the popup's title: "&View", or the window's "&Edit"
    std::string_view text;
    int commandId = 0;                 // 0 for a key
    char32_t key = 0;                  // what the item types, as Application::character takes it
    std::string_view shortcut;         // as a key sequence is written: "Ctrl+T", "A"
    std::string_view otherShortcut{};  // a second binding, or empty
    int group = 0;                     // items of one group stand together
};

// In the order the items appear, popup by popup.
std::span<const AddedMenuItem> addedMenuItems();

// True when the id names a command among them.
bool isAddedMenuCommand(int id);

}  // namespace corvelt
