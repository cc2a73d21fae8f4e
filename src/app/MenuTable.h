#pragma once

#include <span>
#include <string_view>

namespace corvelt {

// One entry of a menu popup: a command, or a separator (command id 0). The text
// marks its mnemonic letter with a leading '&'.
struct MenuItem {
    int commandId = 0;
    std::string_view text;
    bool isSeparator() const { return commandId == 0; }
};

struct MenuPopup {
    std::string_view title;
    std::span<const MenuItem> items;
};

// The main menu from left to right, each popup's items from top to bottom. The
// window builds its menu bar from this table; which items carry a check mark
// follows from the application state (Application::isChecked).
std::span<const MenuPopup> mainMenu();

// True when the id names an item of the main menu.
bool isMenuCommand(int id);

// The main menu's items and the commands that the window adds to its popups
// (Show Min/Max, AddedMenuItems.h): what a menu choice, in the window or a script,
// may run.
bool isApplicationCommand(int id);

}  // namespace corvelt
