#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "model/ShellModel.h"

namespace corvelt::samples {

struct ResultWriteOptions {
    // Significant digits of every coordinate and stress, in scientific notation;
    // 0 writes the shortest text that reads back as the very same double.
    int significantDigits = 7;
};

// Writes data in the result-file text format (count lines, one line per node, nine
// lines per element, LF line ends), independent of the process locale. Output goes
// out in large blocks.
void writeResultText(std::ostream& out, const ResultData& data,
                     const ResultWriteOptions& options = {});

// The same into a string, for small data.
std::string formatResultText(const ResultData& data, const ResultWriteOptions& options = {});

// The same into a file, which is written under a temporary name and renamed when
// complete, so a file of that name is never half written. Throws std::runtime_error.
void writeResultFile(const std::filesystem::path& path, const ResultData& data,
                     const ResultWriteOptions& options = {});

}  // namespace corvelt::samples
