#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace corvelt {

// The fixed-width fields of .frd lines: numbers right-aligned in their columns,
// as Fortran's I and E edit descriptors write them.

namespace field_detail {

inline bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// CalculiX's own spelling, " 1.82785E+03" or "-1.82785E+03": six digits and an
// exponent of two. The mantissa and, for exponents within 22 either way, the power
// of ten are exact doubles, so one multiplication or division rounds correctly and
// gives what std::from_chars gives.
inline bool readE12(std::string_view field, double& value) {
    if (field.size() != 12) return false;
    const char* p = field.data();
    if ((p[0] != ' ' && p[0] != '-') || !isDigit(p[1]) || p[2] != '.' || p[8] != 'E' ||
        (p[9] != '+' && p[9] != '-') || !isDigit(p[10]) || !isDigit(p[11]))
        return false;
    std::int64_t mantissa = p[1] - '0';
    for (int k = 3; k < 8; ++k) {
        if (!isDigit(p[k])) return false;
        mantissa = mantissa * 10 + (p[k] - '0');
    }
    int exponent = (p[10] - '0') * 10 + (p[11] - '0');
    exponent = (p[9] == '-' ? -exponent : exponent) - 5;
    if (exponent < -22 || exponent > 22) return false;
    static constexpr std::array<double, 23> powers{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const auto whole = static_cast<double>(mantissa);
    const double magnitude = exponent < 0 ? whole / powers[static_cast<std::size_t>(-exponent)]
                                          : whole * powers[static_cast<std::size_t>(exponent)];
    value = p[0] == '-' ? -magnitude : magnitude;
    return true;
}

}  // namespace field_detail

// An integer field: blanks, an optional sign and digits filling the rest.
inline std::optional<std::int32_t> integerField(std::string_view field) {
    std::size_t at = 0;
    while (at < field.size() && field[at] == ' ')
        ++at;
    if (at == field.size()) return std::nullopt;
    const bool negative = field[at] == '-';
    at += negative || field[at] == '+';
    if (at == field.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; at < field.size(); ++at) {
        if (!field_detail::isDigit(field[at])) return std::nullopt;
        value = value * 10 + (field[at] - '0');
        if (value > std::int64_t{1} << 31) return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// A real field such as " 1.82785E+03". Also Fortran's form of a three-digit
// exponent, which drops the E ("1.00000-100"). `readable` runs on from the field
// start to the end of what may be read, so that the scanner's fast path can read
// whole words; only the field's own bytes count. Not finite values are refused.
std::optional<double> realFieldOfAnySpelling(std::string_view field, const char* readable);
inline std::optional<double> realField(std::string_view field, const char* readable) {
    if (double value = 0; field_detail::readE12(field, value)) return value;
    return realFieldOfAnySpelling(field, readable);
}

// The field [first, first + width) of a line, cut at the line's end.
inline std::string_view column(std::string_view line, std::size_t first, std::size_t width) {
    return first < line.size() ? line.substr(first, width) : std::string_view();
}

// A field's text without its blanks, for names such as "STRESS  ".
std::string_view trimmedField(std::string_view field);

// The field shown in a message: quoted, bytes that are not printable ASCII as \xNN.
std::string quotedField(std::string_view field);

}  // namespace corvelt
