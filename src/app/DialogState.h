#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/DialogKind.h"
#include "app/DialogOutcome.h"

namespace corvelt {

// Names one open dialog for as long as the application lives; never reused.
using DialogId = std::int32_t;

// What one open dialog shows: its checked radio buttons and check boxes and the
// texts of its edit fields. Several dialogs of a kind may be open, each with its
// own; the window shows them, the batch mode reports them.
struct DialogState {
    DialogId id = 0;
    DialogKind kind = DialogKind::viewKit;
    std::vector<int> checked;  // ids, ascending
    std::string alphaText;     // the View Kit's two edit fields
    std::string betaText;
    // The edit fields of other dialogs, by id.
    std::vector<std::pair<int, std::string>> fieldTexts;
    // What was wrong with the field `faultyField` when it was last applied; empty
    // once it has been applied.
    std::string message;
    int faultyField = 0;
    std::optional<FileRequest> fileRequest;  // asked of the shell, not yet answered

    bool isChecked(int control) const;
    // A radio button clears the others of its group; a check box is set alone.
    void check(int control);
    void setChecked(int control, bool on);
    // The edit field with that id, or null when the dialog has none.
    std::string* text(int control);
    const std::string* text(int control) const;
};

}  // namespace corvelt
