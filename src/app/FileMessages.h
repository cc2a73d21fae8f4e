#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "select/ItemKind.h"
#include "select/SelectionFile.h"

namespace corvelt {

// What the status bar says once a file operation is done. Files are named by their
// last component, as the user chose them; counts are grouped as countText does.

// "Wrote 3072 elements to plate-sel.txt"
std::string selectionWrittenText(ItemKind kind, std::int64_t written,
                                 const std::filesystem::path& path);

// "Read 4 elements from f.txt; 2 indices outside the model skipped" (the second
// half only when an index was skipped).
std::string selectionReadText(ItemKind kind, const SelectionListCounts& counts,
                              const std::filesystem::path& path);

// "Listing written: SelectedElemStress.txt"
std::string listingWrittenText(const std::filesystem::path& report);

// A load the user stopped with Cancel: the model shown stays.
inline constexpr const char* loadCancelledText = "Load cancelled";

}  // namespace corvelt
