#pragma once

#include <cstdint>

namespace corvelt {

// A colour as its three 8-bit channels.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// Colours of the original design are written as 0xBBGGRR words (blue in the high
// byte). This is the one place where such a word becomes an Rgb.
constexpr Rgb fromColorRef(std::uint32_t bbggrr) {
    return {static_cast<std::uint8_t>(bbggrr & 0xFFu),
            static_cast<std::uint8_t>((bbggrr >> 8) & 0xFFu),
            static_cast<std::uint8_t>((bbggrr >> 16) & 0xFFu)};
}

// Darkens a colour by a shading factor: each channel is multiplied, cut toward
// zero and kept to its low 8 bits.
constexpr Rgb shadeColor(Rgb colour, double factor) {
    auto channel = [factor](std::uint8_t value) {
        return static_cast<std::uint8_t>(static_cast<std::int32_t>(value * factor) & 0xFF);
    };
    return {channel(colour.red), channel(colour.green), channel(colour.blue)};
}

}  // namespace corvelt
