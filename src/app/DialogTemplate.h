#pragma once

#include <span>
#include <string_view>

#include "app/DialogKind.h"

namespace corvelt {

enum class ControlKind { label, edit, pushButton, radioButton, checkBox };

// One control of a dialog: its id (0 for a label, which has none), its kind and
// text, and its cell in the grid of its group. Radio buttons with the same
// radioGroup exclude each other; 0 means no group.
struct DialogControl {
    int id = 0;
    ControlKind kind = ControlKind::label;
    std::string_view text;
    int row = 0;
    int column = 0;
    int columnSpan = 1;
    int radioGroup = 0;

    bool isPressable() const {
        return kind == ControlKind::pushButton || kind == ControlKind::radioButton ||
               kind == ControlKind::checkBox;
    }
};

// Controls laid out in a grid, framed and titled when the group has a title.
struct ControlGroup {
    std::string_view title;
    std::span<const DialogControl> controls;
};

// A dialog: its caption and its groups from top to bottom. Controls are listed in
// the order the keyboard focus visits them.
struct DialogTemplate {
    DialogKind kind;
    std::string_view caption;
    std::span<const ControlGroup> groups;
};

const DialogTemplate& dialogTemplate(DialogKind kind);

// The control with that id, or null when the dialog has none (cancelControl is
// not a control).
const DialogControl* findControl(DialogKind kind, int id);

}  // namespace corvelt
