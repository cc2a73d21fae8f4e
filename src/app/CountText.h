#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvelt {

// A count as the user reads it: from five digits on, grouped by thousands with a
// space ("999 924", "1 000 000"); four digits stay together ("3072"), so that
// short numbers do not look like two.
std::string countText(std::int64_t count);

// The count and its noun: "1 element", "3072 elements", "2 indices".
std::string amountText(std::int64_t count, std::string_view singular, std::string_view plural);

}  // namespace corvelt
