#pragma once

#include <filesystem>
#include <stdexcept>

#include "select/ItemKind.h"

namespace corvelt {

struct ShellModel;

// A selection list file that cannot be read, understood or written. what() is the
// whole message for the user: the headline ("The selected elements file read
// error!" or one of its three siblings), then the path and the reason.
class SelectionFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Writes the indices of the selected items of the kind, ascending, one a line. The
// file is replaced atomically: when writing fails, what was there stays. Throws
// SelectionFileError.
void writeSelection(const ShellModel& model, ItemKind kind, const std::filesystem::path& path);

// Replaces the selection of the kind by the indices in the file; indices outside
// the model are skipped, picks are untouched. The whole file is checked before
// any flag changes, so on SelectionFileError the selection is as it was.
void readSelection(ShellModel& model, ItemKind kind, const std::filesystem::path& path);

}  // namespace corvelt
