#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvelt {

enum class LegendRange { automatic, fixed };
enum class LegendNumberFormat { general, fixed, scientific };

// The names scripts, the state and the settings use: "general", "fixed", "scientific".
inline constexpr std::array<std::string_view, 3> legendFormatNames{"general", "fixed",
                                                                   "scientific"};

constexpr std::string_view legendFormatName(LegendNumberFormat format) {
    return legendFormatNames[static_cast<std::size_t>(format)];
}

constexpr std::optional<LegendNumberFormat> legendFormatNamed(std::string_view name) {
    for (std::size_t i = 0; i < legendFormatNames.size(); ++i)
        if (legendFormatNames[i] == name) return static_cast<LegendNumberFormat>(i);
    return std::nullopt;
}

// How the user wants the colour legend: the number of bands, the range they cover,
// the numbers' format, a title and a backing panel. The defaults draw the classic
// legend: nine bands from the selection's minimum to its maximum, "%-10g" labels,
// no title, no panel.
struct LegendOptions {
    static constexpr int defaultBands = 9;
    static constexpr int minBands = 2;
    static constexpr int maxBands = 24;
    static constexpr int maxDigits = 10;

    int bands = defaultBands;
    LegendRange range = LegendRange::automatic;
    double fixedMin = 0.0;  // MIN < MAX, both finite; read only in the fixed range
    double fixedMax = 1.0;
    LegendNumberFormat format = LegendNumberFormat::general;
    int digits = 3;  // decimals (fixed) or digits after the point (scientific): 0 .. 10
    bool title = false;
    std::string units;
    bool backing = false;

    bool fixedRange() const { return range == LegendRange::fixed; }
    friend bool operator==(const LegendOptions&, const LegendOptions&) = default;
};

}  // namespace corvelt
