#pragma once

#include <filesystem>

#include "base/ReadProgress.h"
#include "model/ResultFileError.h"
#include "model/ResultTextParser.h"
#include "model/ShellModel.h"

namespace corvelt {

// Reads a whole result file. Throws ResultFileError, also when the file changes
// while it is being read; never returns partial data.
ResultData readResultFile(const std::filesystem::path& path, const ReadProgress& progress = {},
                          const ParseOptions& options = {});

// Reads the file and, only when that succeeds, makes it the model's mesh (see
// ShellModel::adoptResult). On failure the model is left exactly as it was.
void loadResultFile(ShellModel& model, const std::filesystem::path& path,
                    const ReadProgress& progress = {});

}  // namespace corvelt
