#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/ReadProgress.h"
#include "model/ShellModel.h"

namespace corvelt {

// How the parser splits its work. The defaults suit large files; tests force tiny
// chunks and several workers to exercise the joins between chunks.
struct ParseOptions {
    std::size_t chunkBytes = std::size_t{4} << 20;  // nominal size of one piece of work
    unsigned workers = 0;                           // 0: as many as the machine has
};

// Parses the complete text of a result file. fileName only names the file in
// messages. Throws ResultFileError for every text that does not follow the format,
// naming the file, the one-based line and what was expected there.
ResultData parseResultText(std::string_view text, const std::string& fileName,
                           const ReadProgress& progress = {}, const ParseOptions& options = {});

}  // namespace corvelt
