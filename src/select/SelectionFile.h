#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// What reading a selection list file came to: the items now selected (each once,
// however often the file names it) and the indices skipped as outside the model
// (each time one occurs).
struct SelectionListCounts {
    std::int64_t selected = 0;
    std::int64_t skipped = 0;
    bool operator==(const SelectionListCounts&) const = default;
};

// Writes the indices of the selected items of the kind, ascending, one a line, and
// returns how many it wrote. The file is replaced atomically: when writing fails,
// what was there stays. Throws SelectionFileError.
std::int64_t writeSelection(const ShellModel& model, ItemKind kind,
                            const std::filesystem::path& path);

// Replaces the selection of the kind by the indices in the file; indices outside
// the model are skipped, picks are untouched. The whole file is checked before
// any flag changes, so on SelectionFileError the selection is as it was.
SelectionListCounts readSelection(ShellModel& model, ItemKind kind,
                                  const std::filesystem::path& path);

// Decides the text of a whole selection list file for `count` items: the selected
// flags it gives (one byte each, 0 or 1). Integers are separated by any white
// space; those outside 0 .. count - 1 are skipped. Any other token refuses the
// file with a SelectionFileError that names the file, the line and the token.
// When `counts` is given, it receives what the flags came to.
std::vector<std::uint8_t> parseSelectionList(std::string_view text, ItemKind kind,
                                             std::int32_t count, const std::string& fileName,
                                             SelectionListCounts* counts = nullptr);

}  // namespace corvelt
