// The selection list files and stress listings of Application.
#include "app/Application.h"
#include "select/SelectionFile.h"
#include "select/StressReport.h"

namespace corvelt {

namespace {

std::string& selectionFileName(AppState& state, ItemKind kind) {
    return kind == ItemKind::elements ? state.elementSelectionFileName
                                      : state.nodeSelectionFileName;
}

}  // namespace

void Application::writeSelectionFile(ItemKind kind, const std::filesystem::path& path) {
    selectionFileName(state_, kind) = path.string();
    writeSelection(model_, kind, path);
}

void Application::readSelectionFile(ItemKind kind, const std::filesystem::path& path) {
    selectionFileName(state_, kind) = path.string();
    // A file that is refused throws before the step is recorded, changing nothing.
    changeFlags("From File", kind == ItemKind::elements ? elementSelectedFlags : nodeSelectedFlags,
                [&] { readSelection(model_, kind, path); });
    requestRepaint();
}

std::filesystem::path Application::writeStressReport(ItemKind kind,
                                                     const std::filesystem::path& directory) const {
    return corvelt::writeStressReport(model_, kind, directory);
}

}  // namespace corvelt
