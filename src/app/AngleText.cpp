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

// The unsigned number at the start of the text; none when there is no number or it
// is out of range (an underflow is 0 anyway, an overflow is not finite).
std::optional<double> leadingMagnitude(std::string_view text) {
    // from_chars would take a second sign.
    if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
    double value = 0.0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    std::from_chars_result result{};
    if (startsHexadecimal(text)) {
        result = std::from_chars(first + 2, last, value, std::chars_format::hex);
        // "0x" with no hexadecimal digit after it is the number 0 followed by letters.
        if (result.ec == std::errc::invalid_argument) return 0.0;
    } else {
        result = std::from_chars(first, last, value, std::chars_format::general);
    }
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

}  // namespace corvelt
