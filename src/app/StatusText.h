#pragma once

#include <string>

namespace corvelt {

class Application;

struct AppState;
struct ProbeReading;

// What the left button does now, e.g. "Pick elements in a rectangle", and whether
// the first click of a two-click gesture is in.
std::string modeStatusText(const AppState& state);

// The counts of the window's status bar.
struct CountTexts {
    std::string model;      // "1234 nodes, 567 elements", or "No model"
    std::string selection;  // "Selected: 567 elements, 1234 nodes"
    std::string picks;      // "Picked: 2 elements, 0 nodes"
};

// Walks the model's flag arrays: call it after a change, not per mouse move.
CountTexts countStatusTexts(const Application& app);

// "first surface" or "second surface".
std::string surfaceName(int surface);

// "Element 567: Se 45.6789 on the first surface; node 1234": what the probe found.
std::string probeStatusText(const ProbeReading& reading);

// "Loaded in 0.42 s", with a full stop whatever the locale.
std::string loadTimeText(double seconds);

}  // namespace corvelt
