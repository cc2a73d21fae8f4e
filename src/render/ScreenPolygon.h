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

    // The corners become toPixel(corner) of the given ones. The count is kept in a
    // local and stored once: GCC 12 at -O2 vectorizes a loop of push calls on a
    // polygon held by reference wrongly (the fourth corner came out as a copy of
    // the second).
    template <typename Corner, typename ToPixel>
    void assignMapped(std::span<const Corner> corners, const ToPixel& toPixel) {
        assert(corners.size() <= capacity);
        std::size_t count = 0;
        for (const Corner& corner : corners)
            points_[count++] = toPixel(corner);
        count_ = count;
    }
    std::size_t size() const { return count_; }
    std::span<const Pixel> points() const { return {points_.data(), count_}; }

  private:
    std::array<Pixel, capacity> points_{};
    std::size_t count_ = 0;
};

}  // namespace corvelt
