#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "model/ShellModel.h"

namespace corvelt {

// A result file that cannot be opened or does not follow the format. what() is the
// whole message for the user: the headline, the file, the line and what was
// expected there.
class ResultFileError : public std::runtime_error {
public:
    ResultFileError(const std::string& message, std::string file, std::int64_t line)
        : std::runtime_error(message), file_(std::move(file)), line_(line) {}

    const std::string& file() const { return file_; }
    // One-based line of the fault; 0 when the fault is not at a line.
    std::int64_t line() const { return line_; }

private:
    std::string file_;
    std::int64_t line_;
};

// Told the fraction of the file read so far (0 to 1), from the reading thread.
using ReadProgress = std::function<void(double fraction)>;

// Reads a whole result file. Throws ResultFileError; never returns partial data.
ResultData readResultFile(const std::filesystem::path& path, const ReadProgress& progress = {});

// Reads the file and, only when that succeeds, makes it the model's mesh (see
// ShellModel::adoptResult). On failure the model is left exactly as it was.
void loadResultFile(ShellModel& model, const std::filesystem::path& path, const ReadProgress& progress = {});

}  // namespace corvelt
