#include "base/QuotedBytes.h"

namespace corvelt {

std::string quotedBytes(std::string_view bytes, std::size_t maxShown) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    std::string quoted = "'";
    for (const char c : bytes.substr(0, maxShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            quoted += c;
        } else {
            quoted += "\\x";
            quoted += hexDigits[byte >> 4];
            quoted += hexDigits[byte & 0xF];
        }
    }
    if (bytes.size() > maxShown) quoted += "...";
    return quoted + "'";
}

}  // namespace corvelt
