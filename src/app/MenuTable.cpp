#include "app/MenuTable.h"

#include <array>

#include "app/CommandId.h"

namespace corvelt {

namespace {

constexpr MenuItem separator{};

constexpr std::array fileItems{MenuItem{openCommand, "&Open"}};

constexpr std::array viewItems{MenuItem{viewKitCommand, "View &Kit"}};

constexpr std::array contourItems{
    MenuItem{40003, "Sx"},  MenuItem{40004, "Sy"},  MenuItem{40005, "Sz"}, MenuItem{40006, "Txy"},
    MenuItem{40007, "Txz"}, MenuItem{40008, "Tyz"}, MenuItem{40009, "Se"},
};

constexpr std::array selectItems{
    MenuItem{selectElementsCommand, "Select &Element(s)"},
    MenuItem{selectNodesCommand, "Select &Node(s)"},
};

constexpr std::array plotControlItems{
    MenuItem{contourCommand, "Contour"},
    separator,
    MenuItem{plotAllNodesCommand, "Plot All Nodes"},
    MenuItem{plotSelectedNodesCommand, "Plot Selected Nodes"},
    MenuItem{unplotAllNodesCommand, "Unplot All Nodes"},
    separator,
    MenuItem{plotAllElementOutlinesCommand, "Plot All Element Outlines"},
    MenuItem{plotSelectedElementOutlinesCommand, "Plot Selected Element Outlines"},
    MenuItem{unplotAllElementOutlinesCommand, "Unplot All Element Outlines"},
    separator,
    MenuItem{plotAllElementsCommand, "Plot All Elements"},
    MenuItem{plotSelectedElementsCommand, "Plot Selected Elements"},
    MenuItem{unplotAllElementsCommand, "Unplot All Elements"},
    separator,
    MenuItem{plotAllNodeNumbersCommand, "Plot All Node Numbers"},
    MenuItem{plotSelectedNodeNumbersCommand, "Plot Selected Node Numbers"},
    MenuItem{unplotAllNodeNumbersCommand, "Unplot All Node Numbers"},
    separator,
    MenuItem{plotAllElementNumbersCommand, "Plot All Element Numbers"},
    MenuItem{plotSelectedElementNumbersCommand, "Plot Selected Element Numbers"},
    MenuItem{unplotAllElementNumbersCommand, "Unplot All Element Numbers"},
    separator,
    MenuItem{blackBackgroundCommand, "Black background"},
    MenuItem{whiteBackgroundCommand, "White background"},
};

constexpr std::array popups{
    MenuPopup{"&File", fileItems},
    MenuPopup{"&View", viewItems},
    MenuPopup{"&Contour", contourItems},
    MenuPopup{"&Select", selectItems},
    MenuPopup{"Pl&otCtrls", plotControlItems},
};

constexpr std::array derivedItems{
    MenuItem{contourP1Command, "P1"},
    MenuItem{40061, "P2"},
    MenuItem{40062, "P3"},
    MenuItem{contourIntensityCommand, "Stress Intensity"},
};

constexpr std::array legendItems{MenuItem{legendCommand, "&Legend..."}};

constexpr std::array faceItems{
    MenuItem{facingSurfaceCommand, "&Facing Surface"}, MenuItem{40051, "Surface &1"},
    MenuItem{40052, "Surface &2"},   MenuItem{40053, "&Membrane"},
    MenuItem{40054, "&Bending"},     MenuItem{envelopeCommand, "&Envelope"},
};

constexpr std::array additions{
    MenuAddition{"&Contour", false, derivedItems},
    MenuAddition{"&Contour", false, faceItems},
    MenuAddition{"&Contour", false, legendItems},
};

}  // namespace

std::span<const MenuAddition> menuAdditions() {
    return additions;
}

std::span<const MenuPopup> mainMenu() {
    return popups;
}

bool isApplicationCommand(int id) {
    if (isMenuCommand(id) || id == showMinMaxCommand) return true;
    for (const MenuAddition& addition : additions)
        for (const MenuItem& item : addition.items)
            if (item.commandId == id) return true;
    return false;
}

bool isMenuCommand(int id) {
    if (id == 0) return false;
    for (const MenuPopup& popup : popups)
        for (const MenuItem& item : popup.items)
            if (item.commandId == id) return true;
    return false;
}

}  // namespace corvelt
