#include "app/CountText.h"

namespace corvelt {

std::string countText(std::int64_t count) {
    // Unsigned, so that the most negative count has a magnitude too.
    const bool negative = count < 0;
    const std::uint64_t magnitude =
        negative ? ~static_cast<std::uint64_t>(count) + 1 : static_cast<std::uint64_t>(count);
    const std::string digits = std::to_string(magnitude);
    std::string text = negative ? "-" : "";
    if (digits.size() <= 4) return text + digits;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ' ';
        text += digits[i];
    }
    return text;
}

std::string amountText(std::int64_t count, std::string_view singular, std::string_view plural) {
    return countText(count) + " " + std::string(count == 1 ? singular : plural);
}

}  // namespace corvelt
