#include "app/StatusText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

#include "app/Application.h"
#include "app/CountText.h"
#include "app/Probe.h"
#include "base/NumberFormat.h"

namespace corvelt {

namespace {

std::string modeName(InteractionMode mode) {
    switch (mode) {
        case InteractionMode::none:
            return "Turn";  // what a left drag does without a mode
        case InteractionMode::pan:
            return "Pan";
        case InteractionMode::zoomBox:
            return "Zoom box";
        case InteractionMode::pickElements:
            return "Pick elements";
        case InteractionMode::pickNodes:
            return "Pick nodes";
        case InteractionMode::unpickElements:
            return "Unpick elements";
        case InteractionMode::unpickNodes:
            return "Unpick nodes";
    }
    return {};
}

bool isPickMode(InteractionMode mode) {
    return mode >= InteractionMode::pickElements;
}

}  // namespace

std::string modeStatusText(const AppState& state) {
    std::string text = modeName(state.interactionMode);
    if (isPickMode(state.interactionMode))
        text += state.rectanglePick != 0 ? " in a rectangle" : " at a point";
    // The gestures take two clicks; say when the first one is in.
    if (state.clickStage == 1 && state.interactionMode != InteractionMode::none)
        return text + ": click the second point";
    // Pan and zoom hold the mouse until a dialog closes; say how to leave them.
    if (state.interactionMode == InteractionMode::pan)
        return text + ": click, move, click (View > Turn Mode to turn)";
    if (state.interactionMode == InteractionMode::zoomBox)
        return text + ": click, click (View > Turn Mode to turn)";
    return text;
}

namespace {

std::int64_t setFlags(const std::vector<std::uint8_t>& flags) {
    return std::count_if(flags.begin(), flags.end(), [](std::uint8_t flag) { return flag != 0; });
}

std::string amount(std::int64_t count, std::string_view noun) {
    return amountText(count, noun, std::string(noun) + "s");
}

std::string counted(std::int64_t elements, std::int64_t nodes) {
    return amount(elements, "element") + ", " + amount(nodes, "node");
}

}  // namespace

CountTexts countStatusTexts(const Application& app) {
    const ShellModel& model = app.model();
    CountTexts texts;
    if (!app.state().modelLoaded) {
        texts.model = "No model";
        return texts;
    }
    texts.model =
        amount(model.nodeCount(), "node") + ", " + amount(model.elementCount(), "element");
    texts.selection =
        "Selected: " + counted(setFlags(model.elementSelected), setFlags(model.nodeSelected));
    texts.picks = "Picked: " + counted(setFlags(model.elementPicked), setFlags(model.nodePicked));
    return texts;
}

std::string surfaceName(int surface) {
    return surface == 0 ? "first surface" : "second surface";
}

std::string probeStatusText(const ProbeReading& reading) {
    const std::string where =
        reading.face == ShellFace::facing
            ? " on the " + surfaceName(reading.surface)
            : ", " + std::string(shellFaceTitles[faceIndex(reading.face)]);
    return "Element " + std::to_string(reading.element) + ": " +
           std::string(stressQuantityTitles[static_cast<std::size_t>(reading.component)]) + " " +
           formatGeneral(reading.value) + where + "; node " + std::to_string(reading.node);
}

std::string loadTimeText(double seconds) {
    std::array<char, 32> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(),
                                            std::max(seconds, 0.0), std::chars_format::fixed, 2);
    if (error != std::errc{}) return {};
    return "Loaded in " + std::string(digits.data(), end) + " s";
}

}  // namespace corvelt
