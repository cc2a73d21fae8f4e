#include "app/DialogTemplate.h"

#include <array>

namespace corvelt {

namespace {

constexpr DialogControl label(std::string_view text, int row, int column) {
    return {0, ControlKind::label, text, row, column};
}
constexpr DialogControl edit(int id, int row, int column) {
    return {id, ControlKind::edit, {}, row, column};
}
constexpr DialogControl button(int id, std::string_view text, int row, int column, int span = 1) {
    return {id, ControlKind::pushButton, text, row, column, span};
}
constexpr DialogControl radio(int id, std::string_view text, int group, int row) {
    return {id, ControlKind::radioButton, text, row, 0, 1, group};
}
constexpr DialogControl checkBox(int id, std::string_view text, int row) {
    return {id, ControlKind::checkBox, text, row, 0, 2};
}

// --- View Kit.

constexpr std::array viewKitAngles{
    label("Alpha", 0, 0),      label("Beta", 0, 1),         edit(1009, 1, 0),
    edit(1010, 1, 1),          button(1012, "Apply", 1, 2), button(1041, "All", 2, 0),
    button(1042, "Pan", 2, 1), button(1043, "Zoom", 2, 2),
};
constexpr std::array viewKitPlanes{
    button(1027, "XOY+", 0, 0), button(1028, "XOY-", 1, 0), button(1029, "XOZ+", 0, 1),
    button(1030, "XOZ-", 1, 1), button(1031, "YOZ+", 0, 2), button(1032, "YOZ-", 1, 2),
};
constexpr std::array viewKitDirections{
    button(1033, "EN+", 0, 0), button(1035, "WN+", 0, 1), button(1037, "WS+", 0, 2),
    button(1039, "ES+", 0, 3), button(1034, "EN-", 1, 0), button(1036, "WN-", 1, 1),
    button(1038, "WS-", 1, 2), button(1040, "ES-", 1, 3),
};
constexpr std::array viewKitExit{button(1014, "Exit", 0, 0)};
constexpr std::array viewKitGroups{
    ControlGroup{{}, viewKitAngles},
    ControlGroup{"View Plane", viewKitPlanes},
    ControlGroup{"View Direction", viewKitDirections},
    ControlGroup{{}, viewKitExit},
};

// --- Select Element(s).

constexpr std::array elementPickMode{
    radio(1015, "Point Pick", 1, 0),
    radio(1016, "Rectangle Pick", 1, 1),
};
constexpr std::array elementPicking{
    checkBox(1078, "Only Operate From Selected Elements", 0),
    button(1066, "Pick", 1, 0),
    button(1067, "Unpick", 1, 1),
    button(1059, "Reset", 2, 0),
};
constexpr std::array elementSelectMode{
    radio(1060, "Reselect", 2, 0),
    radio(1061, "Also Select", 2, 1),
    radio(1062, "Unselect", 2, 2),
};
constexpr std::array elementSets{
    button(1057, "Apply", 0, 0),
    button(1020, "Select All", 0, 1),
    button(1021, "Select None", 1, 0),
    button(1063, "Invert", 1, 1),
    button(1081, "From File", 2, 0),
    button(1082, "To File", 2, 1),
    button(1077, "List Stresses", 3, 0, 2),
};
constexpr std::array elementPlotOptions{
    radio(1017, "Plot All Element Outlines", 3, 0),
    radio(1018, "Plot Selected Element Outlines", 3, 1),
    radio(1019, "Unplot All Element Outlines", 3, 2),
    radio(1053, "Plot All Elements", 4, 3),
    radio(1054, "Plot Selected Elements", 4, 4),
    radio(1055, "Unplot All Elements", 4, 5),
};
constexpr std::array elementView{
    button(1041, "All", 0, 0),
    button(1042, "Pan", 0, 1),
    button(1043, "Zoom", 0, 2),
    button(1024, "Clear Contour", 1, 0, 3),
    button(1025, "Plot Contour", 2, 0, 3),
    button(1026, "Exit", 3, 0, 3),
};
constexpr std::array selectElementsGroups{
    ControlGroup{"Pick Mode", elementPickMode},       ControlGroup{{}, elementPicking},
    ControlGroup{"Select Mode", elementSelectMode},   ControlGroup{{}, elementSets},
    ControlGroup{"Plot Options", elementPlotOptions}, ControlGroup{{}, elementView},
};

// --- Select Node(s).

constexpr std::array nodePickMode{
    radio(1001, "Point Pick", 1, 0),
    radio(1002, "Rectangle Pick", 1, 1),
};
constexpr std::array nodePicking{
    checkBox(1079, "Only Operate From Selected Nodes", 0),
    button(1074, "Pick", 1, 0),
    button(1075, "Unpick", 1, 1),
    button(1076, "Reset", 2, 0),
};
constexpr std::array nodeSelectMode{
    radio(1071, "Reselect", 2, 0),
    radio(1072, "Also Select", 2, 1),
    radio(1073, "Unselect", 2, 2),
};
constexpr std::array nodeSets{
    button(1068, "Apply", 0, 0),
    button(1003, "Select All", 0, 1),
    button(1004, "Select None", 1, 0),
    button(1070, "Invert", 1, 1),
    button(1083, "From File", 2, 0),
    button(1084, "To File", 2, 1),
    button(1056, "Select Nodes In Elements Selected", 3, 0, 2),
    button(1007, "List Stresses", 4, 0, 2),
};
constexpr std::array nodePlotOptions{
    radio(1050, "Plot All Nodes", 3, 0),
    radio(1051, "Plot Selected Nodes", 3, 1),
    radio(1052, "Unplot All Nodes", 3, 2),
};
constexpr std::array nodeView{
    button(1041, "All", 0, 0),
    button(1042, "Pan", 0, 1),
    button(1043, "Zoom", 0, 2),
    button(1008, "Exit", 1, 0, 3),
};
constexpr std::array selectNodesGroups{
    ControlGroup{"Pick Mode", nodePickMode},       ControlGroup{{}, nodePicking},
    ControlGroup{"Select Mode", nodeSelectMode},   ControlGroup{{}, nodeSets},
    ControlGroup{"Plot Options", nodePlotOptions}, ControlGroup{{}, nodeView},
};

// --- Legend.

constexpr DialogControl radioAt(int id, std::string_view text, int group, int row, int column) {
    return {id, ControlKind::radioButton, text, row, column, 1, group};
}

constexpr std::array legendBands{label("Bands (2 to 24)", 0, 0), edit(1101, 0, 1)};
constexpr std::array legendRange{
    radioAt(1102, "Automatic", 3, 0, 0), radioAt(1103, "Fixed", 3, 0, 1),
    label("Min", 1, 0),                  edit(1104, 1, 1),
    label("Max", 2, 0),                  edit(1105, 2, 1),
};
constexpr std::array legendNumbers{
    radioAt(1106, "General", 4, 0, 0),     radioAt(1107, "Fixed", 4, 0, 1),
    radioAt(1108, "Scientific", 4, 0, 2),  label("Digits (0 to 10)", 1, 0),
    edit(1109, 1, 1),
};
constexpr std::array legendText{
    DialogControl{1110, ControlKind::checkBox, "Title", 0, 0, 1},
    label("Units", 1, 0),
    edit(1111, 1, 1),
    DialogControl{1112, ControlKind::checkBox, "Backing", 2, 0, 1},
};
constexpr std::array legendButtons{button(1113, "Apply", 0, 0), button(1114, "Close", 0, 1)};
constexpr std::array legendGroups{
    ControlGroup{{}, legendBands},          ControlGroup{"Range", legendRange},
    ControlGroup{"Numbers", legendNumbers}, ControlGroup{"Title and Backing", legendText},
    ControlGroup{{}, legendButtons},
};

constexpr DialogTemplate viewKit{DialogKind::viewKit, "View Kit", viewKitGroups};
constexpr DialogTemplate selectElements{DialogKind::selectElements, "Select Element(s)",
                                        selectElementsGroups};
constexpr DialogTemplate selectNodes{DialogKind::selectNodes, "Select Node(s)", selectNodesGroups};
constexpr DialogTemplate legend{DialogKind::legend, "Legend", legendGroups};

}  // namespace

const DialogTemplate& dialogTemplate(DialogKind kind) {
    switch (kind) {
        case DialogKind::viewKit:
            return viewKit;
        case DialogKind::selectElements:
            return selectElements;
        case DialogKind::selectNodes:
            return selectNodes;
        case DialogKind::legend:
            return legend;
    }
    return viewKit;
}

const DialogControl* findControl(DialogKind kind, int id) {
    if (id == 0) return nullptr;
    for (const ControlGroup& group : dialogTemplate(kind).groups)
        for (const DialogControl& control : group.controls)
            if (control.id == id) return &control;
    return nullptr;
}

}  // namespace corvelt
