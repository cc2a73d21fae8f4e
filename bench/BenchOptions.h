#pragma once

// The command-line options that the file and table benches share.

#include <charconv>
#include <string_view>
#include <system_error>

namespace corvelt::bench {

// The model's size and how often each side of a comparison runs.
struct RunCounts {
    long long elements = 1'000'000;
    int runs = 3;
    int baselineRuns = 1;
};

// Takes --elements, --runs or --baseline-runs with a whole number above 0; false
// for any other option or value, which the caller may still take.
inline bool takeRunCount(std::string_view option, std::string_view value, RunCounts& counts) {
    long long number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc{} || end != value.data() + value.size() || number <= 0) return false;
    if (option == "--elements")
        counts.elements = number;
    else if (option == "--runs")
        counts.runs = static_cast<int>(number);
    else if (option == "--baseline-runs")
        counts.baselineRuns = static_cast<int>(number);
    else
        return false;
    return true;
}

// Hands the "--option value" pairs of the command line to take(option, value);
// false when one is left without a value or take refuses one.
template <typename Take>
bool readOptionPairs(int argc, char** argv, Take&& take) {
    if (argc % 2 == 0) return false;
    for (int k = 1; k + 1 < argc; k += 2)
        if (!take(std::string_view(argv[k]), std::string_view(argv[k + 1]))) return false;
    return true;
}

}  // namespace corvelt::bench
