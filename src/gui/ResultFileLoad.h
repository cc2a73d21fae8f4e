#pragma once

#include <filesystem>
#include <optional>

#include "app/PreparedResult.h"

class QWidget;

namespace corvelt {

// Reads a result file and makes it ready to show on a worker thread while the
// caller's event loop keeps running, so the window goes on repainting. A load that
// takes more than a moment shows its progress in a modal dialog over the owner (or
// on its own when the owner is null) with a Cancel button. The cursor shows that the
// program is busy, and clicks and keys meant for any other window are dropped, not
// kept for later: they were meant for a model that is about to go.
//
// Returns nothing when the user cancelled. Rethrows what reading and preparing
// throw (ResultFileError, std::bad_alloc, ...).
std::optional<PreparedResult> prepareResultFileShowingProgress(QWidget* owner,
                                                               const std::filesystem::path& path,
                                                               const LoadSettings& settings);

}  // namespace corvelt
