#include "formats/FrdFault.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/ResultFileError.h"

namespace corvelt {

std::int64_t frdLineAt(const TextSource& text, std::size_t offset) {
    constexpr std::size_t piece = std::size_t{1} << 20;
    offset = std::min(offset, text.size());
    std::int64_t lineEnds = 0;
    std::vector<char> buffer;
    for (std::size_t at = 0; at < offset; at += piece) {
        const std::string_view bytes = text.read(at, std::min(piece, offset - at), buffer);
        lineEnds += std::count(bytes.begin(), bytes.end(), '\n');
    }
    return 1 + lineEnds;
}

void throwFrdFault(const TextSource& text, const std::string& fileName, const FrdFault& fault) {
    text.throwIfChanged();
    const std::int64_t line = frdLineAt(text, fault.offset);
    throw ResultFileError(std::string(resultFileReadErrorHeadline) + "\n" + fileName + ":" +
                              std::to_string(line) + ": " + fault.message,
                          fileName, line);
}

}  // namespace corvelt
