#include "select/SelectionFile.h"

namespace corvelt {

// Placeholder until selection list files are built.
void writeSelection(const ShellModel&, ItemKind, const std::filesystem::path&) {
    throw SelectionFileError("selection list files are not available yet");
}

void readSelection(ShellModel&, ItemKind, const std::filesystem::path&) {
    throw SelectionFileError("selection list files are not available yet");
}

}  // namespace corvelt
