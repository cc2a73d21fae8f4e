#pragma once

#include <string>

#include "model/ShellModel.h"
#include "model/StressComponent.h"
#include "render/FramePainter.h"
#include "view/ViewCamera.h"

namespace corvelt {

// What making a result ready to show reads of the application: copies, taken on the
// application's thread, so that the work can go on elsewhere.
struct LoadSettings {
    ViewCamera camera;          // for the client size
    double alphaDegrees = 0.0;  // the stored View Kit angles
    double betaDegrees = 0.0;
    int contourComponent = Se;  // what the first frame plots
    ShellFace contourFace = ShellFace::facing;
};

// A result made ready to show: the model with everything derived from its mesh
// (flags, bounds, mean edge length, projected nodes), the camera fitted to it, and
// a painter that holds what the first frame needs. The application adopts it
// without recomputing any of it while the settings still hold.
struct PreparedResult {
    ShellModel model;
    ViewCamera camera;
    FramePainter painter;
    LoadSettings settings;
    // What the shell should tell the user although the file was read (see
    // ResultFile::warning); empty when nothing.
    std::string warning;
};

}  // namespace corvelt
