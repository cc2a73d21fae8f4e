#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "model/Color.h"
#include "model/PlotScope.h"
#include "model/ShellFace.h"
#include "model/StressQuantity.h"
#include "render/LegendOptions.h"
#include "select/SelectMode.h"

namespace corvelt {

// What a left click in the main window means.
enum class InteractionMode : int {
    none = 0,
    pan = 1,
    zoomBox = 2,
    pickElements = 3,
    pickNodes = 4,
    unpickElements = 5,
    unpickNodes = 6,
};

inline constexpr int firstComponentCommand = 40003;   // "Sx"; "Se" is 40009
inline constexpr int firstDerivedCommand = 40060;     // "P1"; "Stress Intensity" is 40063
inline constexpr int firstFaceCommand = 40050;        // "Facing Surface"; "Envelope" is 40055
inline constexpr int firstBackgroundCommand = 40019;  // "Black background"; white is 40020

// The user-interface state of one application window, at its start values. The
// plot options mirror those of the model: the menus read these, the painters the
// model's, and every writer sets both.
struct AppState {
    // Plot options (mirrors of the model's).
    bool contourOn = true;
    PlotScope elementOutlinePlot = PlotScope::none;
    PlotScope nodePlot = PlotScope::none;
    PlotScope elementPlot = PlotScope::none;
    PlotScope nodeNumberPlot = PlotScope::none;
    PlotScope elementNumberPlot = PlotScope::none;
    int componentIndex = Se;  // a StressQuantity: 0 .. 6 stored, 7 .. 10 derived
    ShellFace contourFace = ShellFace::facing;

    // How the legend looks; the window keeps it between runs.
    LegendOptions legend;

    // Background.
    std::array<Rgb, 2> backgroundColors{fromColorRef(0x000000), fromColorRef(0xFFFFFF)};
    int backgroundIndex = 0;  // 0 black, 1 white

    // Markers at the corners that carry the contour's lowest and highest value.
    bool showMinMax = false;

    // Window and dialogs.
    bool modelLoaded = false;
    std::int32_t clientWidth = 0;
    std::int32_t clientHeight = 0;
    bool viewKitDialogOpen = false;
    bool selectElementsDialogOpen = false;
    bool selectNodesDialogOpen = false;
    std::string resultFileName;  // the last file chosen with File > Open

    // View and interaction.
    double viewAlphaDegrees = 0.0;                       // 45 once the first model is shown
    double viewBetaDegrees = 0.0;                        // 35.26 once the first model is shown
    double rotationStep = std::acos(-1.0) * (1.0 / 36);  // one arrow key: 5 degrees
    InteractionMode interactionMode = InteractionMode::none;
    std::int32_t clickStage = 0;     // clicks of the current two-click gesture
    std::int32_t rectanglePick = 1;  // 1 picks in a rectangle, 0 at a point
    std::int32_t lastMouseX = 0, lastMouseY = 0;
    std::int32_t dragAnchorX = 0, dragAnchorY = 0;
    std::int32_t dragCurrentX = 0, dragCurrentY = 0;
    std::int32_t panAnchorX = 0, panAnchorY = 0;

    // Selection.
    bool onlyFromSelectedElements = false;
    bool onlyFromSelectedNodes = false;
    SelectMode elementSelectMode = SelectMode::reselect;
    SelectMode nodeSelectMode = SelectMode::reselect;
    std::string elementSelectionFileName;
    std::string nodeSelectionFileName;

    // The checked items of the Contour menu and of the two background items follow
    // from the component and the background.
    int checkedComponentItem() const {
        return isDerivedQuantity(componentIndex) ? firstDerivedCommand + componentIndex - P1
                                                 : firstComponentCommand + componentIndex;
    }
    int checkedFaceItem() const { return firstFaceCommand + faceIndex(contourFace); }
    int checkedBackgroundItem() const { return firstBackgroundCommand + backgroundIndex; }
    Rgb backgroundColor() const { return backgroundColors[backgroundIndex]; }
};

inline constexpr const char* windowClassName = "Corvelt";
inline constexpr const char* resultFileFilter = "Text Files (*.txt)";
inline constexpr const char* resultFileDialogTitle = "Open file for shell average stress contour ";

}  // namespace corvelt
