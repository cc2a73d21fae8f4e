#include "app/MenuTable.h"

#include <array>

#include "app/AddedMenuItems.h"
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

}  // namespace

std::span<const MenuPopup> mainMenu() {
    return popups;
}

bool isApplicationCommand(int id) {
    return isMenuCommand(id) || id == showMinMaxCommand || isAddedMenuCommand(id);
}

bool isMenuCommand(int id) {
    if (id == 0) return false;
    for (const MenuPopup& popup : popups)
        for (const MenuItem& item : popup.items)
            if (item.commandId == id) return true;
    return false;
}

}  // namespace corvelt
