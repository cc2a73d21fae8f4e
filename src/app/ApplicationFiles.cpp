// The selection list files and stress listings of Application.
#include <algorithm>

#include "app/Application.h"
#include "app/DialogControlId.h"
#include "select/SelectionFile.h"
#include "select/StressReport.h"

namespace corvelt {

namespace {

std::string& selectionFileName(AppState& state, ItemKind kind) {
    return kind == ItemKind::elements ? state.elementSelectionFileName
                                      : state.nodeSelectionFileName;
}

}  // namespace

std::int64_t Application::writeSelectionFile(ItemKind kind, const std::filesystem::path& path) {
    selectionFileName(state_, kind) = path.string();
    return writeSelection(model_, kind, path);
}

SelectionListCounts Application::readSelectionFile(ItemKind kind,
                                                   const std::filesystem::path& path) {
    selectionFileName(state_, kind) = path.string();
    // A file that is refused throws before the step is recorded, changing nothing.
    SelectionListCounts counts;
    changeFlags("From File", kind == ItemKind::elements ? elementSelectedFlags : nodeSelectedFlags,
                [&] { counts = readSelection(model_, kind, path); });
    requestRepaint();
    return counts;
}

std::filesystem::path Application::writeStressReport(ItemKind kind,
                                                     const std::filesystem::path& directory) const {
    return corvelt::writeStressReport(model_, kind, directory);
}

// An empty listing is seldom meant: the window asks before it writes one.
std::optional<std::string> Application::questionBeforePress(DialogId id, int control) const {
    const DialogState* asked = dialog(id);
    if (asked == nullptr) return std::nullopt;
    const bool elements =
        asked->kind == DialogKind::selectElements && control == SelectElementsControl::listStresses;
    const bool nodes =
        asked->kind == DialogKind::selectNodes && control == SelectNodesControl::listStresses;
    if (!elements && !nodes) return std::nullopt;
    const std::vector<std::uint8_t>& selected =
        elements ? model_.elementSelected : model_.nodeSelected;
    if (std::any_of(selected.begin(), selected.end(), [](std::uint8_t flag) { return flag != 0; }))
        return std::nullopt;
    return elements ? "No element is selected. Write an empty listing?"
                    : "No node is selected. Write an empty listing?";
}

}  // namespace corvelt
