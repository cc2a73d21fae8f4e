#include "app/AngleText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

namespace corvelt {

namespace {

// White space as the C locale's isspace sees it.
constexpr std::string_view whiteSpace = " \t\n\v\f\r";

bool startsHexadecimal(std::string_view text) {
    return text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

template <typename Value>
std::from_chars_result scanMagnitude(std::string_view text, Value& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (startsHexadecimal(text))
        return std::from_chars(first + 2, last, value, std::chars_format::hex);
    return std::from_chars(first, last, value, std::chars_format::general);
}

// Out of a double's range: below its smallest subnormal, or beyond its largest
// value. The wider long double tells them apart; what lies beyond even its range
// is taken by the sign of its exponent.
bool underflows(std::string_view text) {
    long double wide = 0.0L;
    if (scanMagnitude(text, wide).ec == std::errc{}) return wide < 1.0L;
    const std::size_t exponent = text.find_first_of(startsHexadecimal(text) ? "pP" : "eE");
    return exponent != std::string_view::npos && exponent + 1 < text.size() &&
           text[exponent + 1] == '-';
}

// The unsigned number at the start of the text; none when there is no number or it
// is not finite. One too small for a double is 0, as atof gives it.
std::optional<double> leadingMagnitude(std::string_view text) {
    // from_chars would take a second sign.
    if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
    double value = 0.0;
    const std::from_chars_result result = scanMagnitude(text, value);
    // "0x" with no hexadecimal digit after it is the number 0 followed by letters.
    if (result.ec == std::errc::invalid_argument && startsHexadecimal(text)) return 0.0;
    if (result.ec == std::errc::result_out_of_range && underflows(text)) return 0.0;
    if (result.ec != std::errc{} || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

std::string formatAngleText(double degrees) {
    // Room for the largest double written out in full with two decimals.
    std::array<char, 400> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), degrees, std::chars_format::fixed, 2);
    return std::string(text.data(), result.ptr);
}

double parseAngleText(std::string_view text) {
    const std::size_t start = text.find_first_not_of(whiteSpace);
    if (start == std::string_view::npos) return 0.0;
    text.remove_prefix(start);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::optional<double> magnitude = leadingMagnitude(text);
    if (!magnitude) return 0.0;
    return negative ? -*magnitude : *magnitude;
}

double readAngleField(std::string_view field) {
    return parseAngleText(field.substr(0, angleFieldReadLength));
}

}  // namespace corvelt
