#pragma once

#include <cstddef>

namespace corvelt {

// Bytes that end a number in a result file: the comma and the white space of the C
// locale (blank, tab, line feed, vertical tab, form feed, carriage return).
constexpr bool isSeparator(char c) {
    return c == ',' || c == ' ' || (static_cast<unsigned char>(c) - 9u) < 5u;
}

constexpr bool isBlank(char c) {
    return c != ',' && isSeparator(c);
}

// Counts the tokens that start in [first, last): bytes that are no separator and
// follow a separator. The byte before first counts as a separator.
std::size_t countTokenStarts(const char* first, const char* last);

}  // namespace corvelt
