#pragma once

#include <span>
#include <string_view>

namespace corvelt {

// An item the window adds at the end of a popup, below a separator: a command of
// the application (an id of CommandId.h) or one of the view's character keys, with
// the shortcut the menu shows beside it. A command's shortcuts are bound to it; a
// key's shortcut is only shown, since the key itself keeps reaching the view.
struct AddedMenuItem {
    std::string_view popup;  // the popup's title: "&View", or the window's "&Edit"
    std::string_view text;
    int commandId = 0;                 // 0 for a key
    char32_t key = 0;                  // what the item types, as Application::character takes it
    std::string_view shortcut;         // as a key sequence is written: "Ctrl+T", "A"
    std::string_view otherShortcut{};  // a second binding, or empty
};

// In the order the items appear, popup by popup.
std::span<const AddedMenuItem> addedMenuItems();

// True when the id names a command among them.
bool isAddedMenuCommand(int id);

}  // namespace corvelt
