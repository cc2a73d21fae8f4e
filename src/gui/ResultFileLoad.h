#pragma once

#include <filesystem>

#include "model/ShellModel.h"

class QWidget;

namespace corvelt {

// Reads a result file on a worker thread while the caller's event loop keeps
// running, so the window goes on repainting during a long read. A load that takes
// more than a moment shows its progress in a modal dialog over the owner (or on its
// own when the owner is null); input meant for the window waits until the read is
// done, so nothing acts on a half-updated window.
//
// Returns the data for the caller to adopt on the user-interface thread. Rethrows
// what the reader throws (ResultFileError, std::bad_alloc, ...).
ResultData readResultFileShowingProgress(QWidget* owner, const std::filesystem::path& path);

}  // namespace corvelt
