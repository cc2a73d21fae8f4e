#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvelt {

// The fixed-width fields of .frd lines: numbers right-aligned in their columns,
// as Fortran's I and E edit descriptors write them.

// An integer field: blanks, an optional sign and digits filling the rest.
std::optional<std::int32_t> integerField(std::string_view field);

// A real field such as " 1.82785E+03". Also Fortran's form of a three-digit
// exponent, which drops the E ("1.00000-100"). `readable` runs on from the field
// start to the end of what may be read, so that the scanner's fast path can read
// whole words; only the field's own bytes count. Not finite values are refused.
std::optional<double> realField(std::string_view field, const char* readable);

// The field [first, first + width) of a line, cut at the line's end.
inline std::string_view column(std::string_view line, std::size_t first, std::size_t width) {
    return first < line.size() ? line.substr(first, width) : std::string_view();
}

// A field's text without its blanks, for names such as "STRESS  ".
std::string_view trimmedField(std::string_view field);

// The field shown in a message: quoted, bytes that are not printable ASCII as \xNN.
std::string quotedField(std::string_view field);

}  // namespace corvelt
