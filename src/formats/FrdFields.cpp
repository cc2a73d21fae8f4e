#include "formats/FrdFields.h"

#include <array>

#include "base/NumberScan.h"
#include "base/QuotedBytes.h"

namespace corvelt {

namespace {

std::size_t firstNonBlank(std::string_view field) {
    std::size_t at = 0;
    while (at < field.size() && field[at] == ' ')
        ++at;
    return at;
}

}  // namespace

std::optional<double> realFieldOfAnySpelling(std::string_view field, const char* readable) {
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
    return quotedBytes(field, 40);
}

}  // namespace corvelt
