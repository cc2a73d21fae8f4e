#pragma once

namespace corvelt {

// The ids of the main menu's commands. They are part of the user interface (the
// batch language names commands by them), so they never change.
enum CommandId : int {
    openCommand = 40001,
    viewKitCommand = 40002,
    contourSxCommand = 40003,  // Sx .. Se are 40003 .. 40009 in component order
    contourSeCommand = 40009,
    selectElementsCommand = 40010,
    selectNodesCommand = 40011,
    contourCommand = 40012,
    plotAllElementOutlinesCommand = 40014,
    plotSelectedElementOutlinesCommand = 40015,
    unplotAllElementOutlinesCommand = 40016,
    blackBackgroundCommand = 40019,
    whiteBackgroundCommand = 40020,
    plotAllNodesCommand = 40021,
    plotSelectedNodesCommand = 40022,
    unplotAllNodesCommand = 40023,
    plotAllElementsCommand = 40024,
    plotSelectedElementsCommand = 40025,
    unplotAllElementsCommand = 40026,
    plotAllNodeNumbersCommand = 40027,
    plotSelectedNodeNumbersCommand = 40028,
    unplotAllNodeNumbersCommand = 40029,
    plotAllElementNumbersCommand = 40030,
    plotSelectedElementNumbersCommand = 40031,
    unplotAllElementNumbersCommand = 40032,

    // Beyond the main menu's table (MenuTable.h lists where the window puts them).
    showMinMaxCommand = 40040,
    turnModeCommand = 40041,
    undoCommand = 40042,
    redoCommand = 40043,
    facingSurfaceCommand = 40050,  // the six faces, 40050 .. 40055 in ShellFace order
    envelopeCommand = 40055,
    contourP1Command = 40060,  // P1, P2, P3, Stress Intensity: 40060 .. 40063
    contourIntensityCommand = 40063,
    legendCommand = 40070,
};

}  // namespace corvelt
