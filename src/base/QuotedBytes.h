#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvelt {

// Bytes from a file for a message: in single quotes, at most `maxShown` of them
// with "..." when there are more, and every byte that is not printable ASCII as
// \xNN, so that the message stays valid UTF-8 whatever the file holds.
std::string quotedBytes(std::string_view bytes, std::size_t maxShown);

}  // namespace corvelt
