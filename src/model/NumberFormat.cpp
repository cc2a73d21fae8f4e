#include "model/NumberFormat.h"

#include <array>
#include <charconv>

namespace corvelt {

std::string formatShortest(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

std::string formatGeneral(double value, int precision) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, precision);
    return {buffer.data(), result.ptr};
}

}  // namespace corvelt
