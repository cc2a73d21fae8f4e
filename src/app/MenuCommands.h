#pragma once

namespace corvelt {

struct AppState;
struct ShellModel;

// What a menu command asks of its caller.
enum class CommandOutcome {
    done,               // handled; the picture is unchanged
    repaint,            // handled; the picture must be redrawn
    openFileRequested,  // the shell asks the user for a file and then opens it
    dialogOpened,       // one more dialog is open (Application::dialogs)
    unknownCommand,     // not a command of the main menu; nothing changed
};

// Runs one command of the main menu on the state and the model. Dialogs are not
// opened here (the application owns them); commands that open one only set the
// interaction mode they imply.
CommandOutcome applyMenuCommand(AppState& state, ShellModel& model, int id);

// Whether the menu item carries a check mark. Marks are derived from the state,
// never stored, so they cannot disagree with it.
bool isMenuItemChecked(const AppState& state, int id);

}  // namespace corvelt
