#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <span>

#include "view/Pixel.h"

namespace corvelt {

// A polygon of client pixels in a fixed buffer, so that the hot drawing paths never
// allocate. Twelve corners hold a five-corner band polygon after clipping against
// the four sides of the guard band (each side adds at most one corner).
class ScreenPolygon {
  public:
    static constexpr std::size_t capacity = 12;

    void clear() { count_ = 0; }
    void push(Pixel p) {
        assert(count_ < capacity);
        points_[count_++] = p;
    }
    std::size_t size() const { return count_; }
    std::span<const Pixel> points() const { return {points_.data(), count_}; }

  private:
    std::array<Pixel, capacity> points_{};
    std::size_t count_ = 0;
};

}  // namespace corvelt
