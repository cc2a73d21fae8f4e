#pragma once

#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "select/ItemKind.h"

namespace corvelt {

struct ShellModel;

inline constexpr std::string_view nodeStressReportFileName = "SelectedNodeStress.txt";
inline constexpr std::string_view elementStressReportFileName = "SelectedElemStress.txt";

// A stress listing that cannot be written. what() is the whole message for the
// user: the headline, then the path and the reason.
class StressReportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Writes the stress listing of the selected items of the kind under its fixed
// name into `directory` (the working directory when empty), replacing an earlier
// listing atomically. Returns the path written. Throws StressReportError.
std::filesystem::path writeStressReport(const ShellModel& model, ItemKind kind,
                                        const std::filesystem::path& directory = {});

}  // namespace corvelt
