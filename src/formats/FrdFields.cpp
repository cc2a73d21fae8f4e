#include "formats/FrdFields.h"

#include <array>
#include <limits>

#include "base/NumberScan.h"

namespace corvelt {

namespace {

std::size_t firstNonBlank(std::string_view field) {
    std::size_t at = 0;
    while (at < field.size() && field[at] == ' ')
        ++at;
    return at;
}

}  // namespace

std::optional<std::int32_t> integerField(std::string_view field) {
    std::size_t at = firstNonBlank(field);
    if (at == field.size()) return std::nullopt;
    const bool negative = field[at] == '-';
    at += negative || field[at] == '+';
    if (at == field.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; at < field.size(); ++at) {
        const auto digit = static_cast<unsigned char>(field[at] - '0');
        if (digit > 9) return std::nullopt;
        value = value * 10 + digit;
        if (value > std::int64_t{1} << 31) return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

namespace {

bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// CalculiX's own spelling, " 1.82785E+03" or "-1.82785E+03": six digits and an
// exponent of two. The mantissa and, for exponents within 22 either way, the power
// of ten are exact doubles, so one multiplication or division rounds correctly and
// gives what std::from_chars gives.
bool readE12(std::string_view field, double& value) {
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
    static constexpr std::array<double, 23> powers{
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const auto whole = static_cast<double>(mantissa);
    const double magnitude = exponent < 0 ? whole / powers[static_cast<std::size_t>(-exponent)]
                                          : whole * powers[static_cast<std::size_t>(exponent)];
    value = p[0] == '-' ? -magnitude : magnitude;
    return true;
}

}  // namespace

std::optional<double> realField(std::string_view field, const char* readable) {
    if (double value = 0; readE12(field, value)) return value;
    const std::size_t at = firstNonBlank(field);
    if (at == field.size()) return std::nullopt;
    const char* first = field.data() + at;
    const char* last = field.data() + field.size();
    // Reading on is safe only where the next field cannot continue this number.
    const bool mayReadOn = readable > last && *last != '.' && (*last | 0x20) != 'e' &&
                           static_cast<unsigned char>(*last - '0') >= 10;
    const ScanResult<double> number = scanDouble(first, mayReadOn ? readable : last);
    if (number.status == ScanStatus::ok && number.end == last) return number.value;
    // Fortran writes an exponent beyond 99 without its E: the sign starts it.
    if (number.status != ScanStatus::ok || (*number.end != '-' && *number.end != '+') ||
        number.end + 1 == last)
        return std::nullopt;
    constexpr std::size_t longest = 40;
    if (field.size() - at + 1 > longest) return std::nullopt;
    std::array<char, longest> spelled{};
    const auto mantissa = static_cast<std::size_t>(number.end - first);
    std::copy(first, number.end, spelled.begin());
    spelled[mantissa] = 'E';
    std::copy(number.end, last, spelled.begin() + static_cast<std::ptrdiff_t>(mantissa) + 1);
    const char* spelledEnd = spelled.data() + (last - first) + 1;
    const ScanResult<double> joined = scanDoubleOfAnySpelling(spelled.data(), spelledEnd);
    if (joined.status != ScanStatus::ok || joined.end != spelledEnd) return std::nullopt;
    return joined.value;
}

std::string_view trimmedField(std::string_view field) {
    const std::size_t first = firstNonBlank(field);
    std::size_t last = field.size();
    while (last > first && field[last - 1] == ' ')
        --last;
    return field.substr(first, last - first);
}

std::string quotedField(std::string_view field) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    constexpr std::size_t maxShown = 40;
    std::string quoted = "'";
    for (const char c : field.substr(0, maxShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            quoted += c;
        } else {
            quoted += "\\x";
            quoted += hexDigits[byte >> 4];
            quoted += hexDigits[byte & 0xF];
        }
    }
    if (field.size() > maxShown) quoted += "...";
    return quoted + "'";
}

}  // namespace corvelt
