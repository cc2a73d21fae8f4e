#include "app/FileMessages.h"

#include "app/CountText.h"
#include "app/DisplayText.h"

namespace corvelt {

namespace {

std::string itemsText(ItemKind kind, std::int64_t count) {
    return kind == ItemKind::elements ? amountText(count, "element", "elements")
                                      : amountText(count, "node", "nodes");
}

// A name that is not UTF-8 is shown with its bytes escaped.
std::string shownName(const std::filesystem::path& path) {
    return displayText(path.filename().string());
}

}  // namespace

std::string selectionWrittenText(ItemKind kind, std::int64_t written,
                                 const std::filesystem::path& path) {
    return "Wrote " + itemsText(kind, written) + " to " + shownName(path);
}

std::string selectionReadText(ItemKind kind, const SelectionListCounts& counts,
                              const std::filesystem::path& path) {
    std::string text = "Read " + itemsText(kind, counts.selected) + " from " + shownName(path);
    if (counts.skipped > 0)
        text +=
            "; " + amountText(counts.skipped, "index", "indices") + " outside the model skipped";
    return text;
}

std::string listingWrittenText(const std::filesystem::path& report) {
    return "Listing written: " + shownName(report);
}

}  // namespace corvelt
