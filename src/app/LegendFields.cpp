#include "app/LegendFields.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "base/NumberFormat.h"
#include "base/NumberScan.h"

namespace corvelt {

namespace {

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string quoted(std::string_view text) {
    constexpr std::size_t shownBytes = 40;
    if (text.size() > shownBytes) return "\"" + std::string(text.substr(0, shownBytes)) + "...\"";
    return "\"" + std::string(text) + "\"";
}

int readWholeNumber(std::string_view text, std::string_view name, int minimum, int maximum) {
    std::string_view digits = trimmed(text);
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') digits.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        value < minimum || value > maximum)
        throw LegendValueError(std::string(name) + " " + quoted(trimmed(text)) +
                               " is not a whole number from " + std::to_string(minimum) +
                               " to " + std::to_string(maximum));
    return static_cast<int>(value);
}

}  // namespace

int readBandCount(std::string_view text) {
    return readWholeNumber(text, "Bands", LegendOptions::minBands, LegendOptions::maxBands);
}

int readDigits(std::string_view text) {
    return readWholeNumber(text, "Digits", 0, LegendOptions::maxDigits);
}

double readBound(std::string_view text, std::string_view name) {
    const std::string_view word = trimmed(text);
    const auto refuse = [&] {
        return LegendValueError(std::string(name) + " " + quoted(word) +
                                " is not a finite number");
    };
    if (word.empty()) throw refuse();
    const char* last = word.data() + word.size();
    const ScanResult<double> scanned = scanDouble(word.data(), last);
    if (scanned.status != ScanStatus::ok || scanned.end != last) throw refuse();
    return scanned.value;
}


void checkFixedRange(double minimum, double maximum) {
    if (!(minimum < maximum))
        throw LegendValueError("Min must be less than Max (" + formatShortest(minimum) +
                               " is not less than " + formatShortest(maximum) + ")");
}

}  // namespace corvelt
