#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/ReadProgress.h"
#include "model/ShellModel.h"
#include "base/TextSource.h"

namespace corvelt {

// How the parser splits its work. The defaults suit large files; tests force tiny
// chunks and several workers to exercise the joins between chunks.
struct ParseOptions {
    std::size_t chunkBytes = std::size_t{1} << 20;  // bytes of text in one piece of work
    unsigned workers = 0;                           // 0: as many as the machine has
};

// Parses the complete text of a result file. fileName only names the file in
// messages. Throws ResultFileError for every text that does not follow the format,
// naming the file, the one-based line and what was expected there, and whatever
// reading the text throws. Reads the text only up to the end of its last record,
// and grows the arrays only as far as records have been found, so that counts a
// file does not live up to cost neither time nor memory.
ResultData parseResultText(const TextSource& text, const std::string& fileName,
                           const ReadProgress& progress = {}, const ParseOptions& options = {});

inline ResultData parseResultText(std::string_view text, const std::string& fileName,
                                  const ReadProgress& progress = {},
                                  const ParseOptions& options = {}) {
    return parseResultText(InMemoryText(text), fileName, progress, options);
}

}  // namespace corvelt
