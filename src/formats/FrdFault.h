#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/TextSource.h"

namespace corvelt {

// A place in a .frd text and what is wrong there.
struct FrdFault {
    std::size_t offset = 0;  // the start of the line, or the byte, at fault
    std::string message;
};

// The one-based line that holds `offset`: the line ends before it, plus one.
std::int64_t frdLineAt(const TextSource& text, std::size_t offset);

// Throws the ResultFileError of a fault: the headline, then the file, the line and
// the message. When the text changed while it was read the change is reported
// instead, since the fault may be an echo of it.
[[noreturn]] void throwFrdFault(const TextSource& text, const std::string& fileName,
                                const FrdFault& fault);

}  // namespace corvelt
